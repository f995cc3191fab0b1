#include "optimise/forms/weights_form.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "optimise/runs.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "platform/ui/widgets/message_box.h"
#include "platform/ui/widgets/window_work.h"
#include "shell/forms/form_helpers.h"
#include "shell/globals.h"
#include "shell/lifecycle.h"
#include "shell/mymod.h"
#include "shell/desktop.h"
#include "shell/rs_db.h"
#include "shell/status.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

const QString kTable = QStringLiteral("T_基本設定");
const QString kCaption = QStringLiteral("最適化荷重設定");
const QString kListA = QStringLiteral(" 0\r\n10\r\n20\r\n50\r\n100\r\n200\r\n500");
const QString kListB = QStringLiteral(" 0\r\n 1\r\n 2\r\n 5\r\n10");
// The highlighted method's button.
constexpr long kHighlight = 16772332;
constexpr int kMaxTrials = 32767;

struct WeightControl {
    const char16_t* field;
    const char16_t* tip;
    char list;  // 'A', 'B' or none
    int tag;    // the default
    bool shown;
};
// The score leaves the hidden ones out; they keep their values all the same.
const WeightControl kWeights[13] = {
    {u"荷重_総勤務日数_今期", u"全勤務種別の合計総日数　今期", 'A', 10, false},
    {u"荷重_各勤務日数_今期", u"勤務種別ごとの勤務総日数　今期", 'A', 10, true},
    {u"荷重_休日出勤_今期", u"休日出勤の総日数　今期", 0, 10, false},
    {u"荷重_総勤務日数", u"全勤務種別の合計総日数　累計", 'A', 10, false},
    {u"荷重_各勤務日数", u"勤務種別ごとの勤務総日数　累計", 'A', 10, true},
    {u"荷重_休日出勤", u"休日出勤の総日数　累計", 0, 10, false},
    {u"荷重_休日勤務_今期", u"休日の各勤務ごとの日数　今期", 'A', 10, true},
    {u"荷重_休日勤務", u"休日の各勤務ごとの日数　累計", 'A', 10, true},
    {u"荷重_休み曜日_今期", u"休みとなる日の曜日ごとの日数 　今期", 'A', 10, false},
    {u"荷重_単勤総数_今期", u"一日だけの勤務、総数", 'B', 1, true},
    {u"荷重_単休総数_今期", u"一日だけの休み、総数", 'B', 1, true},
    {u"荷重_単勤分散_今期", u"一日だけの勤務、分散", 'B', 1, true},
    {u"荷重_単休分散_今期", u"一日だけの休み、分散", 'B', 1, true},
};
const char16_t* const kMultiplierFields[2] = {u"荷重_優先勤務倍率_今期", u"荷重_優先勤務倍率"};
constexpr int kMultiplierTag = 10;

QString field(const char16_t* name)
{
    return QString::fromUtf16(name);
}

// Digits only, after the blanks the lists put before short numbers; pasted text too.
QValidator* digits(QObject* parent, int maxDigits)
{
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^ *[0-9]{0,%1}$").arg(maxDigits)), parent);
}

// Selects the entry of the same number (" 0" for "0"); a stored number the list lacks is added,
// so the window shows what the database holds.
void selectNumber(QComboBox* box, const QString& text)
{
    const double v = Val(text);
    for (int i = 0; i < box->count(); ++i)
        if (!box->itemText(i).trimmed().isEmpty() && Val(box->itemText(i)) == v) {
            box->setCurrentIndex(i);
            return;
        }
    box->addItem(text.trimmed());
    box->setCurrentIndex(box->count() - 1);
}

// A weight as the database keeps it: empty for an empty field.
QVariant weightValue(const QString& text)
{
    if (text.trimmed().isEmpty())
        return QVariant();
    return qlonglong(Val(text));
}

QLabel* label(const QString& text, QWidget* parent, const QString& tip = {})
{
    auto* l = new QLabel(text, parent);
    l->setToolTip(tip);
    return l;
}

}  // namespace

int frm最適化荷重設定::triesValue(const QString& text)
{
    const double v = std::nearbyint(Val(text));
    return int(std::clamp(v, 0.0, double(kMaxTrials)));
}

frm最適化荷重設定::frm最適化荷重設定(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(kCaption);
    ui::setDialogFrame(this);
    buildStartFrame();
    buildWeightFrame();
    buildSinglesFrame();

    fr値設定_荷重 = new QFrame(this);
    cmd値設定_荷重[0] = new QPushButton(QStringLiteral("既定値"), fr値設定_荷重);
    cmd値設定_荷重[0]->setToolTip(QStringLiteral("既定値を各フィールドに設定"));
    cmd値設定_荷重[1] = new QPushButton(QStringLiteral("最小値"), fr値設定_荷重);
    cmd値設定_荷重[1]->setToolTip(QStringLiteral("最小値(=0)を各フィールドに設定"));
    lblHlp = label(QStringLiteral("?"), fr値設定_荷重, QStringLiteral("オンラインヘルプ"));
    lblHlp->setCursor(Qt::PointingHandCursor);
    lblHlp->setStyleSheet(QStringLiteral("QLabel { color: #0645ad; font-weight: bold; padding: 0 6px; }"));
    cmdClose = new QPushButton(QStringLiteral("キャンセル"), fr値設定_荷重);
    auto* bottom = new QHBoxLayout(fr値設定_荷重);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(cmd値設定_荷重[0]);
    bottom->addWidget(cmd値設定_荷重[1]);
    bottom->addStretch();
    bottom->addWidget(lblHlp);
    bottom->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fr最適化);
    layout->addWidget(fr開閉メニュー);
    layout->addWidget(fr単勤単休);
    layout->addWidget(fr値設定_荷重);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Wide enough for the countdown's caption in the title bar.
    fr最適化->setMinimumWidth(440);

    for (int i = 0; i < 2; ++i)
        OnClick(cmd値設定_荷重[size_t(i)], this, [this, i] { onSetWeightClicked(i); });
    OnClick(cmdClose, this, [this] { cmdClose_Click(); });
    // Enter ends a weight's edit; it must not start a method.
    for (QPushButton* b : findChildren<QPushButton*>())
        b->setAutoDefault(false);
    for (QObject* o : std::initializer_list<QObject*>{lblTime, lbl試行回数, fr開閉メニュー, fr最適化, fr優先勤務, lblHlp})
        o->installEventFilter(this);
    for (QLabel* l : lbl最適化荷重)
        l->installEventFilter(this);

    Timer_Load.setInterval(100);
    Timer_Load.setSingleShot(true);
    OnTimeout(&Timer_Load, this, [this] { Timer_Load_Timer(); });
    Timer_Go.setInterval(100);
    OnTimeout(&Timer_Go, this, [this] { Timer_Go_Timer(); });
    Form_Load();
}

void frm最適化荷重設定::buildStartFrame()
{
    fr最適化 = new QFrame(this);
    fr最適化->setFrameShape(QFrame::StyledPanel);
    const QString captions[3] = {QStringLiteral("最適化(勤務交換)"), QStringLiteral("最適化(休み交換)"),
                                 QStringLiteral("ランダム入替")};
    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        QPushButton* b = new QPushButton(captions[i], fr最適化);
        b->setMinimumHeight(32);
        b->installEventFilter(this);
        cmd最適化[size_t(i)] = b;
        buttons->addWidget(b);
        OnClick(b, this, [this, i] { onOptimiseClicked(i); });
    }
    lbl試行回数 = label(QStringLiteral("試行回数"), fr最適化, QStringLiteral("最適化試行回数"));
    cmd試行回数 = new QComboBox(fr最適化);
    cmd試行回数->setEditable(true);
    ComboSetList(cmd試行回数, QStringLiteral(" 0\r\n 1\r\n 2\r\n 3\r\n 5\r\n 7\r\n10\r\n15\r\n20"));
    cmd試行回数->setValidator(digits(cmd試行回数, 5));
    cmd試行回数->setToolTip(QStringLiteral("最適化試行回数"));
    cmd試行回数->setMinimumWidth(70);
    lblTime = label(QStringLiteral("99"), fr最適化);
    QFont big = lblTime->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    lblTime->setFont(big);
    lblTime->setMinimumWidth(40);
    lblTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblTime->hide();
    auto* count = new QHBoxLayout;
    count->addWidget(lbl試行回数);
    count->addWidget(cmd試行回数);
    count->addStretch();
    count->addWidget(lblTime);
    auto* layout = new QVBoxLayout(fr最適化);
    layout->addLayout(buttons);
    layout->addLayout(count);
}

QComboBox* frm最適化荷重設定::weightCombo(int index, QWidget* parent)
{
    const WeightControl& w = kWeights[index];
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    if (w.list)
        ComboSetList(box, w.list == 'A' ? kListA : kListB);
    box->setValidator(digits(box, 6));
    box->setToolTip(QString::fromUtf16(w.tip));
    box->setMinimumWidth(70);
    if (!w.shown)
        box->hide();
    cmb最適化荷重[size_t(index)] = box;
    QObject::connect(box, &QComboBox::activated, this, [this, index] { RunHandler([this, index] { onWeightCommitted(index); }, this); });
    QObject::connect(box->lineEdit(), &QLineEdit::editingFinished, this,
                     [this, index] { RunHandler([this, index] { onWeightCommitted(index); }, this); });
    return box;
}

void frm最適化荷重設定::buildWeightFrame()
{
    fr開閉メニュー = new QFrame(this);
    fr開閉メニュー->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(fr開閉メニュー);
    const auto addLabel = [&](const QString& text, const QString& tip, int row, int column) {
        QLabel* l = label(text, fr開閉メニュー, tip);
        if (row == 0)
            l->setAlignment(Qt::AlignCenter);
        lbl最適化荷重.push_back(l);
        grid->addWidget(l, row, column);
    };
    addLabel(QStringLiteral("今期"), QStringLiteral("今期のみ対象"), 0, 1);
    addLabel(QStringLiteral("累計"), QStringLiteral("今期を含めた累計が対象"), 0, 2);
    addLabel(QStringLiteral("個別勤務日数"), QStringLiteral("勤務種別ごとの勤務総日数"), 1, 0);
    addLabel(QStringLiteral("休日出勤日数"), QStringLiteral("休日の各勤務ごとの日数"), 2, 0);
    grid->addWidget(weightCombo(1, fr開閉メニュー), 1, 1);
    grid->addWidget(weightCombo(4, fr開閉メニュー), 1, 2);
    grid->addWidget(weightCombo(6, fr開閉メニュー), 2, 1);
    grid->addWidget(weightCombo(7, fr開閉メニュー), 2, 2);
    // Out of the layout and out of sight, but read and written like the others.
    for (int i : {0, 2, 3, 5, 8})
        weightCombo(i, fr開閉メニュー);
    for (const char16_t* hidden : {u"総勤務日数", u"休日出勤日数", u"休み曜日日数"}) {
        QLabel* l = label(QString::fromUtf16(hidden), fr開閉メニュー);
        l->hide();
        lbl最適化荷重.push_back(l);
    }

    fr優先勤務 = new QFrame(fr開閉メニュー);
    lbl優先勤務[0] = label(QStringLiteral("優先勤務"), fr優先勤務);
    lbl優先勤務[1] = label(QStringLiteral("勤務略称"), fr優先勤務);
    cmb優先勤務 = new QComboBox(fr優先勤務);
    cmb優先勤務->setToolTip(QStringLiteral("優先勤務略称"));
    cmb優先勤務->setMinimumWidth(60);
    // The shift on a line of its own under the heading; its multipliers in the columns above.
    auto* priority = new QGridLayout(fr優先勤務);
    priority->setContentsMargins(0, 6, 0, 0);
    priority->addWidget(lbl優先勤務[0], 0, 0, 1, 3);
    priority->addWidget(lbl優先勤務[1], 1, 1);
    priority->addWidget(cmb優先勤務, 1, 2);
    priority->setColumnMinimumWidth(0, 12);
    priority->setColumnStretch(1, 1);
    grid->addWidget(fr優先勤務, 3, 0);
    for (int i = 0; i < 2; ++i) {
        auto* box = new QComboBox(fr開閉メニュー);
        ComboSetList(box, kListA);
        box->setToolTip(QStringLiteral("優先倍率"));
        cmb優先勤務倍率[size_t(i)] = box;
        grid->addWidget(box, 3, i + 1, Qt::AlignBottom);
        QObject::connect(box, &QComboBox::activated, this, [this, i] { RunHandler([this, i] { onPriorityFactorChosen(i); }, this); });
    }
    QObject::connect(cmb優先勤務, &QComboBox::activated, this, [this] { RunHandler([this] { onPriorityShiftChosen(); }, this); });
    QObject::connect(cmb優先勤務, &QComboBox::currentTextChanged, this,
                     [this](const QString& text) { RunHandler([&] { cmb優先勤務->setToolTip(TypeName1V(TypeIdx(text))); }, this); });
    grid->setColumnStretch(0, 1);
}

void frm最適化荷重設定::buildSinglesFrame()
{
    fr単勤単休 = new QGroupBox(QStringLiteral("単勤/単休 今期"), this);
    auto* grid = new QGridLayout(fr単勤単休);
    const auto addLabel = [&](const QString& text, int row, int column) {
        QLabel* l = label(text, fr単勤単休);
        lbl最適化荷重.push_back(l);
        grid->addWidget(l, row, column);
    };
    addLabel(QStringLiteral("総数"), 0, 0);
    addLabel(QStringLiteral("分散"), 1, 0);
    for (int row = 0; row < 2; ++row) {
        addLabel(QStringLiteral("単勤"), row, 1);
        grid->addWidget(weightCombo(9 + 2 * row, fr単勤単休), row, 2);
        addLabel(QStringLiteral("単休"), row, 3);
        grid->addWidget(weightCombo(10 + 2 * row, fr単勤単休), row, 4);
    }
    grid->setColumnStretch(0, 1);
    fr単勤単休->installEventFilter(this);
}

void frm最適化荷重設定::Form_Load()
{
    FormTopMost(this, false);
    for (int i = 0; i < 13; ++i) {
        stored_[size_t(i)] = GetTableValue(kTable, field(kWeights[i].field));
        cmb最適化荷重[size_t(i)]->setEditText(stored_[size_t(i)]);
    }
    // An empty entry (no priority shift) before the abbreviations and one after them.
    QString list = kCrLf;
    for (int t = 1; t <= Type_Cnt; ++t)
        list += Type_Table(t, TYPE_略称) + kCrLf;
    ComboSetList(cmb優先勤務, list);
    // A stored number may outlive the shift type it named: then no priority shift is shown.
    const long priority = long(Val(GetTableValue(kTable, QStringLiteral("荷重_優先勤務"))));
    cmb優先勤務->setCurrentIndex(priority >= 1 && priority <= Type_Cnt ? int(priority) : 0);
    cmb優先勤務->setToolTip(TypeName1V(TypeIdx(cmb優先勤務->currentText())));
    for (int i = 0; i < 2; ++i)
        selectNumber(cmb優先勤務倍率[size_t(i)], GetTableValue(kTable, field(kMultiplierFields[i])));
    if (Val(DlgParam.toString()) >= 0)
        setWindowTitle(kCaption + QStringLiteral(" カウントダウン停止：どこかをクリック"));
    Timer_Load.start();
}

void frm最適化荷重設定::Timer_Load_Timer()
{
    int n = int(std::nearbyint(Val(DlgParam.toString())));
    QStringList parts = GetTableValue(kTable, QStringLiteral("最適化試行回数")).split(QLatin1Char(','));
    parts.resize(6);
    Timer_Load.stop();
    if (!isVisible())
        return;
    const bool countdown = n >= 0;
    if (n < 0 || n >= int(cmd最適化.size()))
        n = 0;
    cmd試行回数->setEditText(parts[n]);
    for (size_t i = 0; i < tags_.size(); ++i)
        tags_[i] = parts[qsizetype(i)];
    highlight(n);
    if (countdown) {
        remainingMs_ = 7000;
        lblTime->show();
        Timer_Go.start();
    }
}

void frm最適化荷重設定::Timer_Go_Timer()
{
    remainingMs_ -= Timer_Go.interval();
    const int seconds = int(std::floor(remainingMs_ / 1000.0 + 1));
    lblTime->setText(QString::number(seconds));
    if (seconds < 4)
        lblTime->setStyleSheet(QStringLiteral("QLabel { color: red; }"));
    if (remainingMs_ < 1) {
        Timer_Go.stop();
        onOptimiseClicked(highlighted_);
    }
}

void frm最適化荷重設定::stopCountdown()
{
    if (!Timer_Go.isActive() && lblTime->isHidden())
        return;
    Timer_Go.stop();
    lblTime->hide();
    lblTime->clear();
    setWindowTitle(kCaption);
}

void frm最適化荷重設定::highlight(int index)
{
    highlighted_ = index;
    const QColor c = VbColor(kHighlight);
    for (size_t i = 0; i < cmd最適化.size(); ++i)
        cmd最適化[i]->setStyleSheet(int(i) == index ? QStringLiteral("QPushButton { background-color: %1; }").arg(c.name())
                                                    : QString());
    SetFocusCursor(cmd最適化[size_t(index)], false);
}

void frm最適化荷重設定::onOptimiseClicked(int index)
{
    // A second press while the first one is still on its way, or a run elsewhere, starts nothing.
    if (starting_ || RefuseDuringRun())
        return;
    starting_ = true;
    const int count = triesValue(cmd試行回数->currentText());
    tags_[size_t(index)] = QString::number(count);
    SetTableValue(kTable, QStringLiteral("最適化試行回数"),
                  tags_[0] + QLatin1Char(',') + tags_[1] + QLatin1Char(',') + tags_[2] + QLatin1Char(','));
    highlight(index);
    DoWait(100);
    // Closed during the wait: the close is carried out once this handler has ended.
    if (ui::closeAsked(this))
        return;
    hide();
    Sw_中止 = false;
    saveAllWeights();
    // However the run ends, the window goes and the caller's wait returns.
    struct Leave {
        frm最適化荷重設定* w;
        ~Leave()
        {
            Sw_中止 = true;
            w->Unload();
        }
    } leave{this};
    switch (index) {
    case 0: 最適化_勤務交換(count); break;
    case 1: 最適化_休み交換(count); break;
    default: ランダム入替(count); break;
    }
}

void frm最適化荷重設定::onPriorityShiftChosen()
{
    const int t = TypeIdx(cmb優先勤務->currentText());
    SetTableValue(kTable, QStringLiteral("荷重_優先勤務"), t);
    cmb優先勤務->setToolTip(TypeName1V(t));
}

void frm最適化荷重設定::onPriorityFactorChosen(int index)
{
    SetTableValue(kTable, field(kMultiplierFields[index]), qlonglong(Val(cmb優先勤務倍率[size_t(index)]->currentText())));
}

void frm最適化荷重設定::onWeightCommitted(int index)
{
    const QString text = cmb最適化荷重[size_t(index)]->currentText();
    // Only a change is written; Enter and leaving the field both end one edit.
    if (text.trimmed() == stored_[size_t(index)].trimmed())
        return;
    if (SetTableValue(kTable, field(kWeights[index].field), weightValue(text)) == 0)
        stored_[size_t(index)] = text;
}

void frm最適化荷重設定::saveAllWeights()
{
    for (int i = 0; i < 13; ++i)
        onWeightCommitted(i);
}

void frm最適化荷重設定::onSetWeightClicked(int index)
{
    for (int i = 0; i < 13; ++i)
        cmb最適化荷重[size_t(i)]->setEditText(index == 0 ? QString::number(kWeights[i].tag) : QStringLiteral(" 0"));
    saveAllWeights();
    cmb優先勤務->setCurrentIndex(0);
    for (QComboBox* box : cmb優先勤務倍率)
        selectNumber(box, index == 0 ? QString::number(kMultiplierTag) : QStringLiteral("0"));
    onPriorityShiftChosen();
    onPriorityFactorChosen(0);
    onPriorityFactorChosen(1);
}

void frm最適化荷重設定::cmdClose_Click()
{
    Unload();
}

void frm最適化荷重設定::done(int result)
{
    // The close box and Escape end here too.
    QDialog::done(result);
    Unload();
}

void frm最適化荷重設定::Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    Timer_Load.stop();
    Timer_Go.stop();
    // An edit still open is kept; a failure has been reported by the write itself.
    RunHandler([this] { saveAllWeights(); }, this);
    hide();
    deleteLater();
}

bool frm最適化荷重設定::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        stopCountdown();
        if (watched == lblHlp)
            RunHandler([] { WebHelp(QStringLiteral("optimize/index.html")); });
    } else if (event->type() == QEvent::FocusOut) {
        // The window losing the foreground is no interaction with it.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            stopCountdown();
    }
    return QDialog::eventFilter(watched, event);
}

void frm最適化荷重設定::mousePressEvent(QMouseEvent* event)
{
    stopCountdown();
    QDialog::mousePressEvent(event);
}
