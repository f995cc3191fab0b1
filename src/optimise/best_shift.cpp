#include "optimise/best_shift.h"

#include "engine/model.h"
#include "engine/shift_load.h"
#include "engine/totals.h"
#include "optimise/rest_days.h"
#include "optimise/score.h"
#include "optimise/shift_block.h"
#include "optimise/window_steps.h"
#include "platform/text/vb.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/myfunc_main.h"
#include "shell/status.h"

#include <functional>

namespace {

constexpr int kLastColumn = 20;

// The store's rows grown to 0..n, earlier rows kept.
void growTable(long n)
{
    vb::TwoDimArray<QVariant> grown(int(n), kLastColumn);
    for (int r = 0; r <= BestShift_Table.UBound(1) && r < n; ++r)
        for (int c = 0; c <= kLastColumn && c <= BestShift_Table.UBound(2); ++c)
            grown(r, c) = BestShift_Table(r, c);
    BestShift_Table = std::move(grown);
}

QString problemText()
{
    QStringList problems;
    if (Sw_勤務日数調整) {
        QString lines;
        const float standing = 出勤日数過不足一覧(lines);
        if (standing > 0)
            problems << QStringLiteral("休み数超過");
        else if (standing < 0)
            problems << QStringLiteral("休み数不足");
    }
    std::vector<RunRecord> runs;
    if (連続勤務上限違反(runs) > 0)
        problems << QStringLiteral("連続勤務上限");
    if (連続休み上限違反(runs) > 0)
        problems << QStringLiteral("連続休み上限");
    return problems.join(QStringLiteral(" / "));
}

// Walks every member's days; a run of days for which inRun holds ends at the first other day or
// after the last day and is recorded when it is longer than limit and counts (free).
int scanRuns(int limit, std::vector<RunRecord>& list, const std::function<bool(int, int)>& inRun,
             const std::function<bool(int, int)>& free)
{
    list.clear();
    // An unset limit (0) is no limit, as in the rule checks.
    if (limit < 1)
        return 0;
    for (int i = 1; i <= Member_Cnt; ++i) {
        int run = 0;
        int start = 0;
        bool counts = false;
        auto close = [&] {
            if (start != 0 && run > limit && counts)
                list.push_back({i, run, start});
            run = 0;
            start = 0;
            counts = false;
        };
        for (int d = 1; d <= Day_Cnt; ++d) {
            if (!inRun(i, d)) {
                close();
                continue;
            }
            if (start == 0)
                start = d;
            ++run;
            counts = counts || free(i, d);
        }
        close();
    }
    return int(list.size());
}

// Kept table n, or nullptr when the store holds none. A table kept for a larger roster or a longer
// period than the current one would be put back in part: error 9 before anything changes.
const vb::TwoDimArray<int>* keptTable(long n)
{
    if (BestShift_Cnt < 1 || n < 1 || n > BestShift_Cnt || size_t(n) >= BestShift_Time.size())
        return nullptr;
    const vb::TwoDimArray<int>& kept = BestShift_Time[size_t(n)];
    if (kept.UBound(1) < Member_Cnt || kept.UBound(2) < Day_Cnt)
        vb::subscriptOutOfRange();
    return &kept;
}
}  // namespace

void resetBestShifts()
{
    BestShift_Cnt = 0;
    BestShift_OkCnt = 0;
    BestShift_NgCnt = 0;
    BestShift_Table.ReDim(0, kLastColumn);
    BestShift_Time.assign(1, {});
}

void ベストシフト追加()
{
    const QString singleWork = QString::number(単勤単休数(QStringLiteral("勤務"), 1, Day_Cnt));
    const QString singleRest = QString::number(単勤単休数(QStringLiteral("休み"), 1, Day_Cnt));
    const QString score = Format(double(全分散計算()), QStringLiteral("0.0"));
    QVariant sortValue;
    if (Sw_確保優先 == 0)
        sortValue = singleWork;
    else if (Sw_確保優先 == 1)
        sortValue = singleRest;
    else
        sortValue = Val(singleRest) + Val(singleWork);
    if (!Sw_ベストシフト作成)
        return;

    const long n = BestShift_Cnt + 1;
    growTable(n);
    BestShift_Cnt = n;
    BestShift_Table(int(n), 0) = sortValue;
    BestShift_Table(int(n), 1) = singleWork;
    BestShift_Table(int(n), 2) = singleRest;
    for (int c = 3; c <= 6; ++c)
        BestShift_Table(int(n), c) = QString();
    BestShift_Table(int(n), 10) = score;
    const QString problems = problemText();
    if (problems.isEmpty()) {
        ++BestShift_OkCnt;
    } else {
        BestShift_Table(int(n), 11) = QStringLiteral("?");
        BestShift_Table(int(n), 12) = problems;
        ++BestShift_NgCnt;
    }
    BestShift_Time.resize(size_t(n));
    BestShift_Time.push_back(Time_Table);
    if (optimiserWindowSteps.enableRestoreMenu)
        optimiserWindowSteps.enableRestoreMenu();
}

long ベストシフト最良番号()
{
    const long rows = std::min<long>(BestShift_Cnt, BestShift_Table.UBound(1));
    auto lowest = [rows](bool skipProblems) {
        double best = 999999;
        long index = -1;
        for (long i = 1; i <= rows; ++i) {
            if (skipProblems && !BestShift_Table(int(i), 11).toString().isEmpty())
                continue;
            const double v = Val(BestShift_Table(int(i), 0).toString());
            if (v < best) {
                best = v;
                index = i;
            }
        }
        return index;
    };
    long index = lowest(true);
    if (index < 0)
        index = lowest(false);
    return index < 0 ? 1 : index;
}

int シフト表復元(long n)
{
    const vb::TwoDimArray<int>* found = keptTable(n);
    if (!found) {
        DspSplash(QString());
        return 1;
    }
    const vb::TwoDimArray<int>& kept = *found;
    DspSplash(QStringLiteral("No") + QString::number(n) + QStringLiteral("のシフト表復元中・・・"));
    const XlSwitchesGuard switches(XlSwitchesGuard::OnAtEnd{});
    xlAppSetting(false, false, false);
    ShiftBlock block;
    Time_Table = kept;
    for (int i = 1; i <= Member_Cnt; ++i)
        for (int d = 1; d <= Day_Cnt; ++d)
            block.show(i, d);
    block.write();
    recalculateTotals();
    DspSplash(QString());
    return 0;
}

void ベストシフト復元()
{
    const long n = ベストシフト最良番号();
    // Nothing is cleared before it is certain that a table will be put back.
    if (!keptTable(n)) {
        MsgBox(QStringLiteral("データがありません！"));
        return;
    }
    DspSplash(QStringLiteral("ベストシフト 復元処理中・・・"));
    XlApp().run(stBookName + QStringLiteral("!MyMainから起動.勤務Clear"));
    if (シフト表復元(n) == 0 && optimiserWindowSteps.showBestShiftList)
        optimiserWindowSteps.showBestShiftList();
}

int 連続勤務上限違反(std::vector<RunRecord>& list)
{
    // A run made only of reserved days was asked for; it is no fault of the table.
    return scanRuns(
        連続勤務上限, list, [](int i, int d) { return Time_Table(i, d) != 0; },
        [](int i, int d) { return Rsv_Table(i, d) == 0; });
}

int 連続休み上限違反(std::vector<RunRecord>& list)
{
    return scanRuns(
        連続休み上限, list, [](int i, int d) { return Time_Table(i, d) == 0; }, [](int, int) { return true; });
}

bool 現状収集(int quiet)
{
    if (quiet == 0)
        DspSplash(QStringLiteral("現在の状況を収集中・・・"));
    配列初期化();
    if (荷重読込() < 0)
        return false;
    // The reading has put the reservations into the table and the totals already; the sheet
    // holds them too, so the totals are counted once from the loaded table.
    if (!シフト表読込(1, Day_Cnt, -1, -1))
        return false;
    recalculateTotals();
    確保完了 = true;
    作成状態 = 0;
    return true;
}
