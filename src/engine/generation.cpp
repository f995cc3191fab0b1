#include "engine/generation.h"

#include "engine/analysis.h"
#include "engine/candidate_choice.h"
#include "engine/convert.h"
#include "engine/day_placement.h"
#include "engine/main_window_steps.h"
#include "engine/model.h"
#include "engine/optimiser_steps.h"
#include "engine/run_window.h"
#include "engine/shift_load.h"
#include "engine/time_limit.h"
#include "engine/totals.h"
#include "engine/workbook_access.h"
#include "platform/text/text_constants.h"
#include "platform/ui/prompt.h"
#include "shell/do_events.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/myfunc_main.h"
#include "shell/mylog.h"
#include "shell/status.h"
#include "workbook/sheet_names.h"

#include <algorithm>

namespace {

constexpr int kTries = 50;

xl::Range grid()
{
    return shiftBookRange(kRosterSheet, QStringLiteral("Time_Table"));
}

bool stopRequested()
{
    DoEvents();
    checkTimeLimit();
    return Sw_中止;
}

// The grid clear empties every day; the days before the start day are put back as they were, so
// that they stay on the sheet and can be read into the attempt.
class EarlierDays {
public:
    void keep() { saved_ = grid().block(); }
    void restore() const
    {
        const int columns = std::min(Start_Day - 1, saved_.columns());
        if (columns < 1 || saved_.rows() < 1)
            return;
        xl::Block part(saved_.rows(), columns);
        for (int r = 1; r <= saved_.rows(); ++r)
            for (int c = 1; c <= columns; ++c)
                part(r, c) = saved_(r, c);
        grid().resize(saved_.rows(), columns).setBlock(part);
    }

private:
    xl::Block saved_;
};

// The grid cleared, the conditions read (reservations written and counted), and the days before
// the start day loaded with their totals. False after the reader's message.
bool prepare()
{
    const SpanTimer timed(generationTiming.readNs);
    テーブル再定義();
    EarlierDays earlier;
    earlier.keep();
    XlApp().run(stBookName + QStringLiteral("!勤務Clear"));
    xlAppSetting(true, false, false);
    if (荷重読込() == -1)
        return false;
    if (Start_Day <= 1)
        return true;
    earlier.restore();
    return シフト表読込(1, Start_Day - 1, 1, 0);
}

// Excel's switches around a day column write, by 経過表示.
void switchesBeforeWrite()
{
    switch (経過表示) {
    case 0: xlAppSetting(false, false, false); break;
    case 1:
    case 2: xlAppSetting(true, false, false); break;
    case 3: xlAppSetting(true, false, true); break;
    default: break;
    }
}

void switchesAfterWrite()
{
    switch (経過表示) {
    case 0: xlAppSetting(false, false, false); break;
    case 1: xlAppSetting(true, false, false); break;
    case 2: xlAppSetting(true, true, false); break;
    case 3: xlAppSetting(true, true, true); break;
    default: break;
    }
}

// Day d of every member as abbreviations: the secured column, or the last failed try's.
void writeDay(int d, bool secured)
{
    const SpanTimer timed(generationTiming.writeNs);
    switchesBeforeWrite();
    xl::Block cells(Member_Cnt, 1);
    for (int m = 1; m <= Member_Cnt; ++m) {
        const int v = secured ? Time_Table(m, d) : dayPlacementFailures(m);
        cells(m, 1) = v > 0 ? TypeText2(v) : QString();
    }
    xlSetRetry(grid().cells(1, d).resize(Member_Cnt, 1), cells);
    switchesAfterWrite();
}

// Cells the placement filled without reserving them join the totals; reserved cells were counted
// when they were reserved.
void countDay(int d)
{
    for (int m = 1; m <= Member_Cnt; ++m)
        if (Rsv_Table(m, d) == 0 && Time_Table(m, d) > 0)
            勤務集計加算(m, Time_Table(m, d), d);
}

// Between failed tries the days already filled are shaken. Only days from the start day up to the
// day before are changed: later days hold nothing but reserved cells, which no exchange moves.
void shake(int d, int tryNo)
{
    const SpanTimer timed(generationTiming.shakeNs);
    if (経過表示 >= 1)
        xlAppSetting(true, true, false);
    if (optimiserSteps.ランダム交換)
        optimiserSteps.ランダム交換(d - 1, 1);
    if (tryNo >= 10)
        DspSplash(QStringLiteral("休±均等化・・・・") + QString::number(tryNo) + QStringLiteral("/") + QString::number(kTries));
    if (optimiserSteps.休み数均等化)
        optimiserSteps.休み数均等化(false, 0);
}

// Up to 50 tries of day d; true when one staffed it. Stops early (false) on a stop request.
bool staffDay(int d)
{
    vb::OneDimArray<int> saved(Member_Cnt);
    for (int m = 1; m <= Member_Cnt; ++m)
        saved(m) = Time_Table(m, d);
    for (int tryNo = 1; tryNo <= kTries; ++tryNo) {
        if (stopRequested())
            return false;
        for (int m = 1; m <= Member_Cnt; ++m)
            Time_Table(m, d) = saved(m);
        ++generationTiming.tries;
        float r;
        {
            const SpanTimer timed(generationTiming.placeNs);
            r = 日別配置(d, tryNo);
        }
        if (r > 0) {
            countDay(d);
            return true;
        }
        // After the last try the day is lost anyway: shaking would only change what is written.
        if (tryNo < kTries && d > Start_Day)
            shake(d, tryNo);
    }
    return false;
}

void showFailedDay()
{
    xlAppSetting(false, false, false);
    if (Sw_バックグラウンド動作)
        return;
    progwin.show();
    for (int m = 1; m <= Member_Cnt; ++m) {
        progwin.setMessage(QStringLiteral("後処理中") + QString(Member_Cnt - m, QChar(u'・')));
        DoEvents();
    }
}

// The day loop; true when every day got its staff.
bool staffDays()
{
    for (int d = Start_Day; d <= Day_Cnt; ++d) {
        if (stopRequested())
            return false;
        ++generationTiming.dayCount;
        const bool secured = staffDay(d);
        DspSplash(QString());
        if (!secured && Sw_中止)
            return false;
        if (!secured)
            showFailedDay();
        writeDay(d, secured);
        if (!secured) {
            xlAppSetting(true, true, false);
            MemLog(dayPlacementLog);
            return false;
        }
        DoEvents();
        if (!Sw_バックグラウンド動作)
            progwin.setValue(d);
    }
    return true;
}

void showProgressWindow()
{
    progwin.show();
    progwin.setRange(0, Day_Cnt + 1);
}

}  // namespace

bool displayWaitOn()
{
    return !Sw_バックグラウンド動作 && !noDisplayWait;
}

AttemptResult シフト作成(bool analyse)
{
    確保完了 = false;
    DspSplash(QStringLiteral("準備中"));
    if (!prepare()) {
        DspSplash(QString());
        作成状態 = 0;
        return AttemptResult::CannotStart;
    }
    if (Member_Cnt < 2) {
        DspSplash(QString());
        MsgBox(QStringLiteral("要員(個人条件設定)は２名以上入力して下さい！"), ui::vbOKOnly, QStringLiteral("条件データ不足"));
        作成状態 = 0;
        return AttemptResult::CannotStart;
    }
    findFixedConflicts();
    if (!Sw_バックグラウンド動作) {
        if (analyse && 勤務条件分析()) {
            作成状態 = 0;
            Sw_中止 = true;
            return AttemptResult::中止;
        }
        if (mainWindowSteps.leaveTopmost)
            mainWindowSteps.leaveTopmost();
        showProgressWindow();
    }
    MemLog(QStringLiteral("開始"), true);
    if (!fixedConflicts.empty())
        MemLog(fixedConflictHeading() + kCrLf + fixedConflictLines());
    xlSheet = &xlBook->worksheets(kRosterSheet);
    ++generationTiming.attempts;
    if (staffDays()) {
        確保完了 = true;
        xlSheetCallRetry(*xlSheet);
    }
    DspSplash(QString());
    MemLog保存();
    return AttemptResult::Ran;
}
