#include "optimise/forms/exchange_list_form.h"

#include "engine/convert.h"
#include "optimise/exchange_list.h"
#include "optimise/forms/manual_forms.h"
#include "optimise/manual_common.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "platform/ui/widgets/message_box.h"
#include "platform/ui/widgets/screen.h"
#include "shell/forms/form_helpers.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/desktop.h"
#include "shell/status.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kTitle = QStringLiteral("交換勤務可能リスト");
const QString kBusy = QStringLiteral("処理中・・・・・");
frmリストボックス_交換* g_open = nullptr;

QFont listFont()
{
    QFont f;
    f.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("IPAGothic"),
                   QStringLiteral("monospace")});
    f.setStyleHint(QFont::Monospace);
    f.setPointSizeF(9.75);
    return f;
}

void setBold(QPushButton* button, bool bold)
{
    QFont f = button->font();
    f.setBold(bold);
    button->setFont(f);
}

// The width the lines need up to the end of the rule's text; the blanks behind it and the day
// index after it need not be in sight.
int widthToReason(QListWidget* list, const QStringList& lines)
{
    for (const QString& line : lines) {
        QStringList fields = line.split(QLatin1Char('\t')).mid(0, 7);
        fields.last() = fields.last().trimmed();
        list->addItem(fields.join(QLatin1Char('\t')));
    }
    const int width = list->sizeHintForColumn(0) + list->verticalScrollBar()->sizeHint().width() + 30;
    list->clear();
    return width;
}

// Fills the window for member m and shows it modally.
void showList(int m, bool includeForbidden, const QStringList& lines)
{
    frmリストボックス_交換 form;
    // The refused lines carry the rule at their end: wide enough to read it where the screen allows.
    int width = 450;
    if (includeForbidden) {
        const int room = screenOf(&form).width() - 20;
        width = std::max(650, std::min(widthToReason(form.lstItem, lines), room));
    }
    if (lines.isEmpty()) {
        form.lstItem->addItems({QString(), refusedExchangeLine()});
        form.frItem->setEnabled(false);
    } else {
        form.lstItem->addItems(lines);
        form.frItem->setEnabled(true);
    }
    form.lblPromptTop->setText(QString::number(m) + QLatin1Char(':') + QString::number(MemNo(m)) + QLatin1Char(' ')
                               + MemName(m));
    form.resize(width, 450);
    placeTopRight(&form);
    ui::ask(ui::MessageRequest(QString(), 0, QStringLiteral("frmリストボックス_交換"), ui::Kind::Dialog),
            [&form] { return ui::Answer{form.exec(), {}}; });
}

}  // namespace

frmリストボックス_交換::frmリストボックス_交換(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(kTitle);
    ui::setDialogFrame(this);
    setModal(true);

    lblPromptTop = new QLabel(this);
    hlp交換可能勤務リスト = new QLabel(QStringLiteral("<a href=\"koukan-list/index.htm\">ヘルプ</a>"), this);
    hlp交換可能勤務リスト->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(hlp交換可能勤務リスト, &QLabel::linkActivated, this, [](const QString& page) { RunHandler([&] { WebHelp(page); }); });
    auto* top = new QHBoxLayout;
    top->addWidget(lblPromptTop, 1);
    top->addWidget(hlp交換可能勤務リスト);

    frItem = new QFrame(this);
    lstItem = new QListWidget(frItem);
    lstItem->setFont(listFont());
    lstItem->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* items = new QVBoxLayout(frItem);
    items->setContentsMargins(0, 0, 0, 0);
    items->addWidget(lstItem);

    frBottom = new QFrame(this);
    lblPromptBottom = new QLabel(frBottom);
    lblPromptBottom->setWordWrap(true);
    lblPromptBottom->setMinimumHeight(2 * lblPromptBottom->fontMetrics().height() + 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const char16_t* captions[] = {u"交換", u"戻す", u"閉じる"};
    for (int i = 0; i < 3; ++i) {
        cmdOk[size_t(i)] = new QPushButton(QString::fromUtf16(captions[i]), frBottom);
        cmdOk[size_t(i)]->setAutoDefault(false);
        buttons->addWidget(cmdOk[size_t(i)]);
        OnClick(cmdOk[size_t(i)], this, [this, i] { cmdOk_Click(i); });
    }
    cmdOk[0]->setEnabled(false);
    cmdOk[1]->setEnabled(false);
    auto* bottom = new QVBoxLayout(frBottom);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(lblPromptBottom);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(5);
    layout->addLayout(top);
    layout->addWidget(frItem, 1);
    layout->addWidget(frBottom);

    connect(lstItem, &QListWidget::itemClicked, this, [this] { RunHandler([this] { lstItem_Click(); }, this); });
    connect(lstItem, &QListWidget::currentRowChanged, this, [this] { RunHandler([this] { lstItem_Click(); }, this); });

    resize(480, 450);
    FormTopMost(this);
    g_open = this;
}

frmリストボックス_交換::~frmリストボックス_交換()
{
    if (g_open == this)
        g_open = nullptr;
}

void frmリストボックス_交換::showQuestion(const QString& question, const char* colour)
{
    lblPromptBottom->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(colour)));
    lblPromptBottom->setText(caption_ + QStringLiteral("   ") + question);
}

void frmリストボックス_交換::lstItem_Click()
{
    // The list's own focus makes a line current without choosing it.
    const QListWidgetItem* item = lstItem->currentItem();
    if (!item || !item->isSelected() || !frItem->isEnabled())
        return;
    memberA_ = int(Val(lblPromptTop->text().section(QLatin1Char(':'), 0, 0)));
    const std::optional<ExchangeLine> row = parseExchangeLine(item->text());
    if (!row)
        return;
    cmdOk[0]->setEnabled(true);
    setBold(cmdOk[0], true);
    memberB_ = row->memberB;
    day_ = row->day;
    caption_ = row->caption;
    forbidden_ = row->forbidden;
    showQuestion(QStringLiteral("交換しますか？"), forbidden_ ? "#FF0000" : "#0000FF");
    const xl::Range cell = shiftCell(memberB_, day_);
    cell.worksheet().activate();
    cell.select();
}

void frmリストボックス_交換::cmdOk_Click(int index)
{
    if (index == 0)
        交換();
    else if (index == 1)
        戻す();
    else
        done(0);
}

void frmリストボックス_交換::交換()
{
    const QString question = QStringLiteral("「") + QString::number(MemNo(memberA_)) + QStringLiteral("：") + MemName(memberA_)
        + QStringLiteral("」 を、") + QStringLiteral("下記で交換しますか？") + QStringLiteral("\r\n\r\n") + caption_;
    if (MsgBox(question, ui::vbOKCancel, QStringLiteral("勤務交換")) != ui::vbOK)
        return;
    cmdOk[0]->setEnabled(false);
    setBold(cmdOk[0], false);
    frItem->setEnabled(false);
    lblPromptBottom->setText(kBusy);
    makeExchange(memberA_, memberB_, day_);
    cmdOk[1]->setEnabled(true);
    setBold(cmdOk[1], true);
    showQuestion(QStringLiteral("元に戻しますか？"), "#000000");
}

void frmリストボックス_交換::戻す()
{
    if (MsgBox(QStringLiteral("元に戻しますか？"), ui::vbOKCancel, QStringLiteral("元に戻す")) != ui::vbOK)
        return;
    cmdOk[1]->setEnabled(false);
    setBold(cmdOk[1], false);
    lblPromptBottom->setText(kBusy);
    makeExchange(memberA_, memberB_, day_);
    cmdOk[0]->setEnabled(true);
    setBold(cmdOk[0], true);
    frItem->setEnabled(true);
    showQuestion(QStringLiteral("交換しますか？"), forbidden_ ? "#FF0000" : "#0000FF");
}

void 交換可能勤務一覧表示()
{
    QString previous;
    for (;;) {
        const QString answer = InputBox(exchangeListQuestion(), QStringLiteral("入替可能判定"),
                                        previous.isEmpty() ? exchangeListDefaultAnswer() : previous);
        if (answer.isEmpty()) {
            xlAppSetting(true, true, true);
            return;
        }
        // The member is looked up in the roster as the sheet holds it now.
        if (!reloadMonth())
            return;
        const ExchangeListRequest request = parseExchangeListAnswer(answer);
        if (request.member < 0) {
            MsgBox(QStringLiteral("ID不正"));
            continue;
        }
        previous = answer;
        QStringList lines;
        {
            // The busy message goes however the listing ends.
            struct BusyMessage {
                BusyMessage() { DspSplash(QStringLiteral("処理中・・・・"), 0, 0, 0, false, 255); }
                ~BusyMessage() { DspSplash(QString()); }
            } busy;
            lines = buildExchangeList(request);
        }
        showList(request.member, request.includeForbidden, lines);
    }
}

frmリストボックス_交換* loadedExchangeList()
{
    return g_open;
}
