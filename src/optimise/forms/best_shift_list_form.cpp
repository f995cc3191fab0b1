#include "optimise/forms/best_shift_list_form.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "engine/postprocess.h"
#include "engine/shift_load.h"
#include "engine/totals.h"
#include "optimise/best_shift.h"
#include "optimise/window_steps.h"
#include "platform/os/vb_error.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "platform/ui/widgets/form_instance.h"
#include "platform/ui/widgets/window_work.h"
#include "platform/xl/values.h"
#include "shell/forms/form_helpers.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/status.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

DefaultInstance<frmベストシフトリスト> g_window;

// Header, width in twips (0 hidden) and the store column shown (-1: the row number; -2: the sort
// key, filled on the first column click).
struct ListColumn {
    const char16_t* header;
    int twips;
    int source;
};
const ListColumn kColumns[] = {
    {u"No", 500, -1},       {u"?", 350, 11},        {u"Score", 800, 0},    {u"単勤", 700, 1},
    {u"単休", 700, 2},      {u"休み分散", 0, 3},    {u"日別分散", 0, 4},   {u"休出分散", 0, 5},
    {u"休曜分散", 0, 6},    {u"全分散計", 1200, 10}, {u"？詳細", 10000, 12}, {u"Sort", 0, -2},
};
constexpr int kProblemColumn = 10;
constexpr int kSortColumn = 11;
constexpr int kAlertTwips = 1400;

}  // namespace

ClickLabel::ClickLabel(const QString& text, QWidget* parent, std::function<void()> clicked)
    : QLabel(text, parent), clicked_(std::move(clicked))
{
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && isEnabled() && clicked_)
        clicked_();
}

frmベストシフトリスト::frmベストシフトリスト(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("ベストシフトリスト"));

    frTop = new QFrame(this);
    lblTop = new QLabel(QStringLiteral("選択したシフト作成例を復元します。"), frTop);
    cmdRestore = new QPushButton(QStringLiteral("シフト復元"), frTop);
    cmdRestore->setEnabled(false);
    auto* top = new QHBoxLayout(frTop);
    top->setContentsMargins(4, 4, 4, 4);
    top->addWidget(lblTop);
    top->addStretch();
    top->addWidget(cmdRestore);

    lstBestShiftList = new QTreeWidget(this);
    lstBestShiftList->setRootIsDecorated(false);
    lstBestShiftList->setUniformRowHeights(true);
    lstBestShiftList->setAllColumnsShowFocus(true);
    lstBestShiftList->setSelectionMode(QAbstractItemView::SingleSelection);
    lstBestShiftList->header()->setSectionsClickable(true);
    lstBestShiftList->header()->setStretchLastSection(false);

    frBottom = new QFrame(this);
    lblStatus = new QLabel(frBottom);
    frAlert = new QFrame(frBottom);
    alert.push_back(new QLabel(frAlert));
    alert[0]->hide();
    auto* alerts = new QHBoxLayout(frAlert);
    alerts->setContentsMargins(0, 0, 0, 0);
    alerts->setSpacing(2);
    alerts->addStretch();
    cmdClose = new QPushButton(QStringLiteral("閉じる"), frBottom);
    auto* bottom = new QHBoxLayout(frBottom);
    bottom->setContentsMargins(4, 4, 4, 4);
    bottom->addWidget(lblStatus);
    bottom->addWidget(frAlert, 1);
    bottom->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(frTop);
    layout->addWidget(lstBestShiftList, 1);
    layout->addWidget(frBottom);
    cmdClose->setMinimumWidth(cmdRestore->sizeHint().width());
    resize(760, 380);

    connect(cmdRestore, &QPushButton::clicked, this, [this] { handle([this] { cmdRestore_Click(); }); });
    OnClick(cmdClose, this, [this] { cmdClose_Click(); });
    connect(lstBestShiftList, &QTreeWidget::itemDoubleClicked, this,
            [this] { handle([this] { cmdRestore_Click(); }); });
    connect(lstBestShiftList, &QTreeWidget::itemSelectionChanged, this, [this] { handle([this] { lstBestShiftList_Click(); }); });
    connect(lstBestShiftList->header(), &QHeaderView::sectionClicked, this,
            [this](int section) { handle([this, section] { lstBestShiftList_ColumnClick(section + 1); }); });
}

void frmベストシフトリスト::handle(const std::function<void()>& handler)
{
    const ui::WindowWork work(this);
    runGuarded(
        [&] {
            try {
                handler();
            } catch (...) {
                DspSplash(QString());  // the splash must not cover the message
                throw;
            }
        },
        windowTitle());
}

void frmベストシフトリスト::addColumns()
{
    QStringList headers;
    for (const ListColumn& c : kColumns)
        headers << QString::fromUtf16(c.header);
    lstBestShiftList->setHeaderLabels(headers);
    const int tpp = TwipsPerPixelX(this);
    for (int i = 0; i < int(std::size(kColumns)); ++i) {
        lstBestShiftList->setColumnHidden(i, kColumns[i].twips == 0);
        lstBestShiftList->setColumnWidth(i, kColumns[i].twips / tpp);
    }
}

void frmベストシフトリスト::addRows()
{
    const int rows = int(std::min<long>(BestShift_Cnt, BestShift_Table.UBound(1)));
    for (int i = 1; i <= rows; ++i) {
        auto* item = new QTreeWidgetItem(lstBestShiftList);
        for (int k = 0; k < int(std::size(kColumns)); ++k) {
            const int source = kColumns[k].source;
            if (source == -1)
                item->setText(k, QString::number(i));
            else if (source >= 0)
                item->setText(k, XlText(BestShift_Table(i, source)));
        }
    }
}

void frmベストシフトリスト::Form_Load()
{
    FormTopMost(this);
    lblStatus->clear();
    frAlert->setFrameShape(QFrame::NoFrame);
    addColumns();
    addRows();
    if (lstBestShiftList->topLevelItemCount() == 0)
        return;
    const int best = int(ベストシフト最良番号());
    if (QTreeWidgetItem* item = lstBestShiftList->topLevelItem(best - 1)) {
        lstBestShiftList->setCurrentItem(item);
        lstBestShiftList->scrollToItem(item);
    }
    handle([this] { cmdRestore_Click(); });
    lstBestShiftList_Click();
}

void frmベストシフトリスト::cmdRestore_Click()
{
    const QList<QTreeWidgetItem*> selected = lstBestShiftList->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* item = selected.first();
    const long n = long(Val(item->text(0)));
    const int result = シフト表復元(n);
    DspSplash(QStringLiteral("No") + QString::number(n) + QStringLiteral("のシフト表復元中・・・"));
    作成後処理(result == 0 ? QStringLiteral("成功") : QStringLiteral("失敗"));
    showProblems(item->text(kProblemColumn));
    DspSplash(QString());
}

void frmベストシフトリスト::showProblems(const QString& problems)
{
    for (size_t k = 1; k < alert.size(); ++k) {
        alert[k]->hide();
        alert[k]->deleteLater();
    }
    alert.resize(1);
    if (problems.isEmpty())
        return;
    auto* row = static_cast<QHBoxLayout*>(frAlert->layout());
    const int width = kAlertTwips / TwipsPerPixelX(this);
    const QStringList parts = problems.split(QStringLiteral(" / "));
    for (int k = 0; k < int(parts.size()); ++k) {
        const int index = k + 1;
        auto* label = new ClickLabel(parts[k], frAlert, [this, index] { handle([this, index] { alert_Click(index); }); });
        label->setFrameShape(QFrame::Box);
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QStringLiteral("color: #C00000;"));
        label->setMinimumWidth(std::max(width, label->sizeHint().width() + 8));
        row->insertWidget(k, label);
        alert.push_back(label);
    }
}

void frmベストシフトリスト::lstBestShiftList_Click()
{
    QTreeWidgetItem* item = lstBestShiftList->currentItem();
    const bool selected = item && item->isSelected();
    cmdRestore->setEnabled(selected);
    if (selected)
        lblStatus->setText(QStringLiteral("SelNo=") + QString::number(lstBestShiftList->indexOfTopLevelItem(item) + 1));
}

void frmベストシフトリスト::lstBestShiftList_ColumnClick(int column)
{
    const int count = lstBestShiftList->topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* item = lstBestShiftList->topLevelItem(i);
        const QString key = item->text(column - 1);
        item->setText(kSortColumn, (QStringLiteral("0000000000") + key).right(10));
    }
    sortOrder_ = column == sortColumn_ ? 1 - sortOrder_ : 0;
    sortColumn_ = column;
    lstBestShiftList->sortItems(kSortColumn, sortOrder_ == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    lstBestShiftList_Click();
}

void frmベストシフトリスト::alert_Click(int index)
{
    if (index < 1 || index >= int(alert.size()))
        return;
    QLabel* label = alert[size_t(index)];
    label->setEnabled(false);
    DspSplash(QStringLiteral("計算中・・・"));
    const QString caption = label->text();
    if (caption == QStringLiteral("休み数超過") || caption == QStringLiteral("休み数不足"))
        restDayReport();
    else if (caption == QStringLiteral("連続休み上限") && optimiserWindowSteps.mnuAdjDayOffCnt_Click)
        optimiserWindowSteps.mnuAdjDayOffCnt_Click();
    DspSplash(QString());
    label->setEnabled(true);
}

void frmベストシフトリスト::restDayReport()
{
    // The month as the sheet holds it now, each assignment counted once.
    if (全条件読込(-1) < 0 || !シフト表読込(1, Day_Cnt, 0, -1))
        return;
    recalculateTotals();
    QString lines;
    QString report;
    if (出勤日数過不足一覧(lines) == 0)
        report = QStringLiteral("過不足無し");
    else
        report = QStringLiteral("休み過不足一覧\r\n\r\nno  ID       過不足\r\n") + QString(30, QLatin1Char('-'))
                 + QStringLiteral("\r\n") + lines;
    MyMsgBox(report, 0, QStringLiteral("休み数調査"), 300, 400);
}

void frmベストシフトリスト::cmdClose_Click()
{
    g_window.unload();
}

void installBestShiftListWindow()
{
    optimiserWindowSteps.showBestShiftList = [] {
        // The list shows the store as it is now, so an open one is loaded afresh.
        g_window.unload();
        frmベストシフトリスト& f = g_window.get();
        f.show();
        f.Form_Load();
    };
}

frmベストシフトリスト* loadedBestShiftList()
{
    return g_window.loaded();
}
