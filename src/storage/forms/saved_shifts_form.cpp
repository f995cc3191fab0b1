#include "storage/forms/saved_shifts_form.h"

#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "platform/ui/widgets/form_instance.h"
#include "platform/ui/widgets/window_work.h"
#include "platform/ui/widgets/screen.h"
#include "platform/xl/widgets/sheet_window.h"
#include "shell/forms/form_helpers.h"
#include "shell/msg_box.h"
#include "shell/rs_db.h"
#include "storage/restore.h"
#include "storage/shift_export.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>

namespace {

DefaultInstance<frm既存シフト読込> g_browser;

constexpr int kSystemModalOk = ui::vbOKOnly | ui::vbSystemModal;

QString dateText(const QDate& d)
{
    return Format(d, QStringLiteral("yyyy/mm/dd"));
}

// An event handler's errors end only that handler, with the number and the description.
template <class F>
void handle(QWidget* window, F&& handler)
{
    const ui::WindowWork work(window);
    try {
        handler();
    } catch (const VbError& e) {
        MsgBox(e.text(), kSystemModalOk);
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        RunHandler([&] { std::rethrow_exception(error); });
    }
}

// The export's window: left edge, from an eighth of the screen's height down to seven eighths,
// three quarters of its width.
void placeExportWindow(xl::Application& app)
{
    QWidget* w = xl::widgets::SheetWindow::of(app);
    if (!w)
        return;
    const QRect r = screenOf(w);
    w->setGeometry(QRect(QPoint(r.left(), r.top() + r.height() / 8),
                         QPoint(r.left() + r.width() * 6 / 8, r.top() + r.height() * 7 / 8)));
    w->raise();
    w->activateWindow();
}

}  // namespace

frm既存シフト読込::frm既存シフト読込(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("既存シフト読込"));
    // Closed by its frame, it is loaded afresh (with a fresh list) the next time.
    setAttribute(Qt::WA_DeleteOnClose);
    Label1 = new QLabel(QStringLiteral("読み込むデータの種類と月を指定して下さい。"), this);

    ListV = new QTreeWidget(this);
    ListV->setHeaderLabels({QStringLiteral("no"), QStringLiteral("開始日"), QStringLiteral("終了日"), QStringLiteral("件数")});
    ListV->setRootIsDecorated(false);
    ListV->setUniformRowHeights(true);
    ListV->setAllColumnsShowFocus(true);
    ListV->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListV->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListV->header()->setSectionsMovable(false);
    const QFontMetrics fm = ListV->fontMetrics();
    const int pad = fm.horizontalAdvance(QStringLiteral("00"));
    const int widths[] = {fm.horizontalAdvance(QStringLiteral("no")) + 2 * pad,
                          fm.horizontalAdvance(QStringLiteral("0000/00/00")) + 2 * pad,
                          fm.horizontalAdvance(QStringLiteral("0000/00/00")) + 2 * pad,
                          fm.horizontalAdvance(QStringLiteral("件数")) + 2 * pad};
    int listWidth = 0;
    for (int c = 0; c < 4; ++c) {
        ListV->setColumnWidth(c, widths[c]);
        listWidth += widths[c];
    }
    ListV->headerItem()->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    ListV->setMinimumWidth(listWidth + ListV->frameWidth() * 2 + 4);
    // Room for every listed period without scrolling.
    ListV->setMinimumHeight(ListV->header()->sizeHint().height() + (fm.height() + 4) * (kListedPeriods + 1));

    Frame1 = new QGroupBox(this);
    auto* kinds = new QVBoxLayout(Frame1);
    const QString captions[] = {{}, QStringLiteral("クロス集計"), QStringLiteral("シフト表"), QStringLiteral("期間データ")};
    for (int i = 1; i <= 3; ++i) {
        ChkDt[size_t(i)] = new QCheckBox(captions[i], Frame1);
        kinds->addWidget(ChkDt[size_t(i)]);
    }
    ChkDt[2]->setChecked(true);

    cmd削除 = new QPushButton(QStringLiteral("削除"), this);
    cmd読み込み = new QPushButton(QStringLiteral("読み込み"), this);
    cmd閉じる = new QPushButton(QStringLiteral("閉じる"), this);
    cmd読み込み->setDefault(true);

    auto* side = new QVBoxLayout;
    side->addWidget(Frame1);
    side->addStretch();
    for (QPushButton* b : {cmd読み込み, cmd削除, cmd閉じる})
        side->addWidget(b);
    auto* body = new QHBoxLayout;
    body->addWidget(ListV, 1);
    body->addLayout(side);
    auto* all = new QVBoxLayout(this);
    all->addWidget(Label1);
    all->addLayout(body, 1);

    connect(cmd削除, &QPushButton::clicked, this, [this] { handle(this, [this] { onDeleteClicked(); }); });
    connect(cmd読み込み, &QPushButton::clicked, this, [this] { handle(this, [this] { onLoadClicked(); }); });
    OnClick(cmd閉じる, this, [this] { cmd閉じる_Click(); });
    connect(ListV, &QTreeWidget::itemDoubleClicked, this, [this] { handle(this, [this] { onLoadClicked(); }); });
    connect(ListV, &QTreeWidget::itemSelectionChanged, this, [this] { keepSelectionContiguous(); });
}

void frm既存シフト読込::Form_Load()
{
    FormTopMost(this);
    // A database only read this run keeps its saved months.
    cmd削除->setEnabled(!DbOpenReadOnly);
    adjustSize();
    const QRect screen = screenOf(this);
    const QSize size = frameGeometry().size();
    const int top = std::min(screen.top() + screen.height() * 57 / 100, screen.bottom() + 1 - size.height());
    move(screen.left() + (screen.width() - size.width()) / 2, std::max(screen.top(), top));
    show();
    const QString result = 期間一覧作成();
    if (!result.isEmpty())
        MsgBox(result, kSystemModalOk);
}

QString frm既存シフト読込::期間一覧作成()
{
    ListV->clear();
    periods_.clear();
    const std::optional<std::vector<SavedPeriod>> list = readSavedPeriods();
    if (!list)
        return {};
    if (list->empty())
        return QStringLiteral("データ無し");
    periods_ = *list;
    for (const SavedPeriod& p : periods_) {
        auto* item = new QTreeWidgetItem(ListV, {QString::number(p.no), dateText(p.period.開始日),
                                                 dateText(p.period.終了日), QString::number(p.件数)});
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    }
    ListV->setCurrentItem(ListV->topLevelItem(0));
    return {};
}

std::pair<int, int> frm既存シフト読込::selectedRange() const
{
    int first = -1, last = -1;
    for (int i = 0; i < ListV->topLevelItemCount(); ++i) {
        if (!ListV->topLevelItem(i)->isSelected())
            continue;
        if (first < 0)
            first = i;
        last = i;
    }
    return {first, last};
}

// The selection always spans from the first to the last row the user picked.
void frm既存シフト読込::keepSelectionContiguous()
{
    if (selecting_)
        return;
    const auto [first, last] = selectedRange();
    if (first < 0)
        return;
    selecting_ = true;
    for (int i = first; i <= last; ++i)
        ListV->topLevelItem(i)->setSelected(true);
    selecting_ = false;
}

const SavedPeriod* frm既存シフト読込::selectedPeriod() const
{
    QTreeWidgetItem* current = ListV->currentItem();
    const int row = current && current->isSelected() ? ListV->indexOfTopLevelItem(current) : selectedRange().first;
    return row >= 0 && row < int(periods_.size()) ? &periods_[size_t(row)] : nullptr;
}

void frm既存シフト読込::onDeleteClicked()
{
    const SavedPeriod* selected = selectedPeriod();
    if (!selected)
        return;
    const 期間 p = selected->period;
    const QString question = dateText(p.開始日) + QStringLiteral("～") + dateText(p.終了日)
                           + QStringLiteral("の勤務データを削除します。") + kCrLf + QStringLiteral("よろしいですか？");
    if (MsgBox(question, ui::vbOKCancel | ui::vbSystemModal, QStringLiteral("削除確認")) != ui::vbOK)
        return;
    if (!deletePeriod(p))
        return;
    期間一覧作成();
    MsgBox(QStringLiteral("削除完了"), kSystemModalOk);
}

void frm既存シフト読込::onLoadClicked()
{
    const QString question = QStringLiteral("本シート上にシフトデータを復元しますか？") + kCrLf + kCrLf
                           + QStringLiteral("Yes : 現在のシートに指定年月のシフト表を復元") + kCrLf
                           + QStringLiteral("No  : 別シートにシフト表とクロス集計表を復元");
    const int answer = MsgBox(question, ui::vbYesNo, QStringLiteral("読込方法"));
    if (answer == ui::vbYes)
        restoreSelected();
    else if (answer == ui::vbNo)
        exportSelected();
}

void frm既存シフト読込::restoreSelected()
{
    const SavedPeriod* selected = selectedPeriod();
    if (!selected)
        return;
    const SavedPeriod row = *selected;
    if (シフト復元_本シート(row))
        g_browser.unload();
}

void frm既存シフト読込::exportSelected()
{
    const auto [first, last] = selectedRange();
    std::vector<SavedPeriod> span;
    for (int i = first; i >= 0 && i <= last; ++i)
        span.push_back(periods_[size_t(i)]);
    const ExportKinds kinds{ChkDt[1]->isChecked(), ChkDt[2]->isChecked(), ChkDt[3]->isChecked()};
    xl::Application* app = シフト復元_別シート(span, kinds);
    if (!app)
        return;
    placeExportWindow(*app);
    g_browser.unload();
}

void frm既存シフト読込::cmd閉じる_Click()
{
    g_browser.unload();
}

void showSavedShifts()
{
    const bool fresh = !g_browser.loaded();
    frm既存シフト読込& f = g_browser.get();
    if (fresh) {
        f.Form_Load();
        return;
    }
    f.show();
    f.raise();
    f.activateWindow();
}

frm既存シフト読込* savedShiftsWindow()
{
    return g_browser.loaded();
}
