#include "engine/conditions.h"

#include "engine/cells.h"
#include "engine/convert.h"
#include "engine/model.h"
#include "engine/rules.h"
#include "engine/totals.h"
#include "engine/workbook_access.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/myfunc_main.h"
#include "shell/mylog.h"
#include "shell/status.h"
#include "workbook/sheet_names.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

using namespace cell_reading;

namespace {

xl::Worksheet& appSheet(const QString& name)
{
    xl::Workbook* book = XlApp().activeWorkbook();
    if (xl::Worksheet* ws = book ? book->findSheet(name) : nullptr)
        return *ws;
    throw MissingRangeError(name, {});
}

xl::Worksheet& bookSheet(const QString& name)
{
    if (xl::Worksheet* ws = xlBook ? xlBook->findSheet(name) : nullptr)
        return *ws;
    throw MissingRangeError(name, {});
}

// The count must lie in 0..limit.
void checkCount(int value, int limit, const QString& what)
{
    if (value < 0)
        throw ReadStop::input(QStringLiteral("%1(%2)が正しくありません！").arg(what).arg(value));
    if (value > limit)
        throw ReadStop::input(QStringLiteral("%1(%2)が上限の%3を超えています！").arg(what).arg(value).arg(limit));
}

void show(const ReadStop& stop)
{
    MsgBox(stop.text, ui::vbOKOnly | ui::vbSystemModal, stop.title);
}

void showMissing(const MissingRangeError& e)
{
    MsgBox(e.description + kCrLf + QStringLiteral("ワークブックを確認してください！"), ui::vbOKOnly | ui::vbSystemModal,
           QStringLiteral("データエラー"));
}

// A cell the reading cannot convert, or another run-time error of the workbook.
void showError(const VbError& e)
{
    MsgBox(e.text(), ui::vbOKOnly | ui::vbSystemModal, QStringLiteral("データエラー"));
}

// Runs a reading; a stop, a missing range or another error of the workbook is shown, and false
// returned.
bool readShowingErrors(const std::function<void()>& reading)
{
    try {
        reading();
        return true;
    } catch (const ReadStop& stop) {
        show(stop);
    } catch (const MissingRangeError& e) {
        showMissing(e);
    } catch (const VbError& e) {
        showError(e);
    }
    return false;
}

// Shows a stage of the reading in the splash window (unless the reading is quiet).
using Stage = std::function<void(const QString&)>;

// A count the workbook's formulas keep: a number in 0..limit.
int readCount(const QString& sheet, const QString& name, int limit, const QString& what)
{
    const xl::Range r = shiftBookRange(sheet, name);
    const QVariant v = r.value();
    const QString text = r.text();
    if (!isNumericCell(v) || v.typeId() == QMetaType::Bool)
        throw ReadStop::input(QStringLiteral("%1(%2)が数ではありません！").arg(what, text));
    const int n = integerAt(Val(text), cellPlace(r));
    // The tables and the masks have room for these many; more would overrun them.
    checkCount(n, limit, what);
    return n;
}

// A type without an abbreviation would be read from every empty cell of the grid and the
// reservations; one without a name cannot be named in a combination.
void checkTypeRows()
{
    for (int i = 1; i <= Type_Cnt; ++i)
        if (Type_Table(i, TYPE_勤務).trimmed().isEmpty() || Type_Table(i, TYPE_略称).trimmed().isEmpty())
            throw ReadStop::input(QStringLiteral("【基本設定】の勤務種別の%1行目は勤務名か略称が空白です！").arg(i) + kCrLf
                                  + QStringLiteral("勤務種別には勤務名と略称の両方を入力してください！"));
}

void readBasicInfoBody()
{
    xlSheet = &bookSheet(kRosterSheet);
    BootLog(QStringLiteral("　基本情報読込: Set xlSheet = xlBook.Worksheets('人員配置表')"));
    const int days = readCount(kRosterSheet, QStringLiteral("Day_Cnt"), DAY_MAX, QStringLiteral("期間の日数"));
    BootLog(QStringLiteral("　基本情報読込: Day_Cnt = Val(xlSheet.Range('Day_Cnt').Text)"));
    xlSheet = &bookSheet(kSettingsSheet);
    BootLog(QStringLiteral("　基本情報読込: Set xlSheet = xlBook.Worksheets('基本設定')"));
    const int types = readCount(kSettingsSheet, QStringLiteral("Type_Cnt"), TYPE_MAX, QStringLiteral("【基本設定】の勤務種別の数"));
    BootLog(QStringLiteral("　基本情報読込: Type_Cnt = Val(xlSheet.Range('Type_Cnt').Text)"));
    xlSheet = &bookSheet(kScheduleSheet);
    BootLog(QStringLiteral("　基本情報読込: Set xlSheet = xlBook.Worksheets('スケジュール')"));
    const int members =
        readCount(kScheduleSheet, QStringLiteral("Member_Cnt"), MEM_MAX, QStringLiteral("【個人条件設定】のメンバー数"));
    BootLog(QStringLiteral("　基本情報読込: Member_Cnt = Val(xlSheet.Range('Member_Cnt').Text)"));
    Day_Cnt = days;
    Type_Cnt = types;
    Member_Cnt = members;

    BootLog(QStringLiteral("　基本情報読込: Call テーブル再定義"));
    テーブル再定義();
    BootLog(QStringLiteral("　基本情報読込: Call 勤務種別表読込"));
    勤務種別表読込();
    checkTypeRows();
    BootLog(QStringLiteral("　基本情報読込: Call 名簿読込"));
    名簿読込();
    BootLog(QStringLiteral("　基本情報読込: Call グループ読込"));
    グループ読込();

    Sw_バックグラウンド動作 = GetRangeBool(QStringLiteral("main"), QStringLiteral("バックグラウンド動作"));
    Sw_ベストシフト作成 = GetRangeBool(QStringLiteral("main"), QStringLiteral("ベストシフト作成"));
    Sw_確保優先 = 2;
    try {
        // Three modes only: a value beyond them would select no menu item.
        Sw_確保優先 = std::clamp(toInteger(textVal(shiftBookRange(QStringLiteral("main"), QStringLiteral("Sw_確保優先")).value())), 0, 2);
        BootLog(QStringLiteral("Sw_確保優先 = Val(xlBook.Sheets('main').Range('Sw_確保優先'))"));
    } catch (const std::exception&) {
        Sw_確保優先 = 2;
    }
    if (afterBasicInfoRead)
        afterBasicInfoRead();
    BootLog(QStringLiteral("mnu単勤単休最少化(Sw_確保優先).Checked = True"));
    基本情報読込済 = true;
}

// One combination row of 組合せ禁止 / 組合せ必須 into rec; false when its shift name is unknown.
bool readCombinationRow(const Grid& g, int i, 組合せ記録& rec)
{
    rec = 組合せ記録{};
    rec.勤務 = TypeIdxOrg(XlText(g(i, 1)));
    if (rec.勤務 == -1)
        return false;
    // Typed in column 2; column 3 is its copy.
    rec.人数 = integerAt(asNumber(g(i, 3)), g.place(i, 2));
    for (int k = 1; k <= 40; ++k) {
        const int column = 5 * (k - 1) + 4;
        const QVariant& v = g(i, column);
        if (!isEmptyCell(v) && isNumericCell(v)) {
            rec.メンバー[size_t(k)] = integerAt(asNumber(v), g.place(i, column));
            rec.memberIndex[size_t(k)] = MemIdx(rec.メンバー[size_t(k)]);
            rec.メンバー[0] = k;
        }
    }
    return true;
}

// The roster members of a group, in roster order, into rec's list.
void fillGroupMembers(組合せ記録& rec, const QString& group)
{
    int n = 0;
    for (int m = 1; m <= Member_Cnt; ++m)
        if (Member_List(m, 3) == group) {
            ++n;
            rec.メンバー[size_t(n)] = toInteger(Val(Member_List(m, 1)));
            rec.memberIndex[size_t(n)] = m;
        }
    rec.メンバー[0] = n;
}

bool groupHasMembers(const QString& group)
{
    for (int m = 1; m <= Member_Cnt; ++m)
        if (Member_List(m, 3) == group)
            return true;
    return false;
}

// Appends a group record to a combination table, unless it cannot act: a shift that is not in
// the list, or a group without members (an empty list would read as "everybody").
void appendGroupRecord(vb::OneDimArray<組合せ記録>& table, int& count, int limit, const 組合せ_grp記録& g,
                       bool starMeansAll, const QString& what)
{
    if (g.勤務 <= 0) {
        MemLog(QStringLiteral("%1: 規定外の勤務種別のため無視します（職制=%2）").arg(what, g.職制));
        return;
    }
    const bool all = starMeansAll && g.職制 == QStringLiteral("*");
    if (!all && !groupHasMembers(g.職制)) {
        MemLog(QStringLiteral("%1: 職制「%2」のメンバーがいないため無視します").arg(what, g.職制));
        return;
    }
    if (count + 1 > limit)
        checkCount(count + 1, limit, what + QStringLiteral("の件数（グループ分を含む）"));
    ++count;
    組合せ記録& rec = table(count);
    rec = 組合せ記録{};
    rec.勤務 = g.勤務;
    rec.人数 = g.人数;
    if (!all)
        fillGroupMembers(rec, g.職制);
}

// The sheet rows of 組合せ禁止 or 組合せ必須 into table, compacted (empty rows leave no record).
// False after the data-error message for an unknown shift name.
bool readCombinations(const QString& countName, const QString& rangeName, vb::OneDimArray<組合せ記録>& table,
                      int& count, int limit, const QString& what, const QString& unknownText)
{
    const xl::Range countRange = activeBookRange(kStaffSheet, countName);
    const int rows = integerAt(asNumber(countRange.value()), cellPlace(countRange));
    const xl::Range range = activeBookRange(kStaffSheet, rangeName);
    checkCount(rows, std::min(range.rowCount(), limit), what);
    const Grid g(range, kStaffSheet, rangeName);
    count = 0;
    for (int i = 1; i <= rows; ++i) {
        if (isEmptyCell(g(i, 1)))
            continue;
        組合せ記録 rec;
        if (!readCombinationRow(g, i, rec)) {
            SheetSelect(kStaffSheet, rangeName);
            MsgBox(unknownText, ui::vbOKOnly | ui::vbSystemModal, QStringLiteral("データエラー"));
            return false;
        }
        table(++count) = rec;
    }
    return true;
}

// One pattern table of 基本設定 into table: each cell that `cell` turns into a shift number goes
// to its column, and column 0 counts them.
void readPatterns(const QString& countName, const QString& rangeName, int columns, const QString& what,
                  vb::TwoDimArray<int>& table, int& count,
                  const std::function<std::optional<int>(const QString& text, int row)>& cell)
{
    const xl::Range countRange = activeBookRange(kSettingsSheet, countName);
    const int n = integerAt(asNumber(countRange.value()), cellPlace(countRange));
    const xl::Range r = activeBookRange(kSettingsSheet, rangeName);
    checkCount(n, std::min(r.rowCount(), kMaxPatterns), what);
    count = n;
    const Grid g(r, kSettingsSheet, rangeName);
    for (int p = 1; p <= n; ++p)
        for (int j = 1; j <= columns; ++j)
            if (const std::optional<int> v = cell(XlText(g(p, j)), p)) {
                table(p, j) = *v;
                table(p, 0) += 1;
            }
}

// Forbidden sequences: an abbreviation, "-" for a rest day; an empty cell is no day.
void readForbiddenPatterns()
{
    readPatterns(QStringLiteral("Kinsi_Pattern_Cnt"), QStringLiteral("禁止パターン"), 5,
                 QStringLiteral("【基本設定】の禁止パターンの数"), Kinsi_Pattern, Kinsi_Pattern_Cnt,
                 [](const QString& s, int) -> std::optional<int> {
                     if (s.isEmpty())
                         return std::nullopt;
                     return s == QStringLiteral("-") ? 0 : TypeIdx(s);
                 });
}

// Followers that lead back to where they started would be carried over day after day to the end
// of the period, past every exclusion and limit: such a table cannot be kept.
void refuseRequiredCycles()
{
    for (int s = 1; s <= Type_Cnt; ++s) {
        QString chain = Type_Table(s, TYPE_略称);
        int cur = s;
        for (int k = 0; k < Type_Cnt && (cur = requiredFollower(cur)) > 0; ++k) {
            chain += QStringLiteral("→") + Type_Table(cur, TYPE_略称);
            if (cur == s)
                throw ReadStop::input(QStringLiteral("【基本設定】の必須パターンが循環しています！（%1）").arg(chain) + kCrLf
                                      + QStringLiteral("必須パターンは元の勤務に戻らないように入力してください！"));
        }
    }
}

// Required successions: only shifts count.
void readRequiredPatterns()
{
    readPatterns(QStringLiteral("Hissu_Pattern_Cnt"), QStringLiteral("必須パターン"), 2,
                 QStringLiteral("【基本設定】の必須パターンの数"), Hissu_Pattern, Hissu_Pattern_Cnt,
                 [](const QString& s, int p) -> std::optional<int> {
                     const int v = TypeIdx(s);
                     // A required follower must be one shift: "*" would be written into the table
                     // as a shift number that no total can hold.
                     if (v == kAllShifts)
                         throw ReadStop::input(QStringLiteral("【基本設定】の必須パターンの%1行目に「*」が入っています！").arg(p)
                                               + kCrLf + QStringLiteral("必須パターンには勤務の略称を入力してください！"));
                     return v > 0 ? std::optional<int>(v) : std::nullopt;
                 });
    refuseRequiredCycles();
}

xl::Range basicRange(const QString& name)
{
    return activeBookRange(kSettingsSheet, name);
}

// The switches of the day-count and hours adjustment, the shifts it may move, and the
// concentration switches.
// A switch of 基本設定 that is on only when its cell holds TRUE; off when the cell cannot be read.
bool basicSwitchOn(const QString& name)
{
    try {
        return equalsBool(basicRange(name).value(), true);
    } catch (const std::exception&) {
        return false;
    }
}

void readAdjustmentSwitches(xl::Worksheet& basic)
{
    // An adjustment switch keeps its default unless its cell holds the other truth value, which
    // 人員配置表's TimeSum then follows; the hours switch, read last, has the last word there.
    const auto adjustment = [](const QString& name, bool byDefault) {
        bool on = byDefault;
        try {
            if (equalsBool(basicRange(name).value(), !byDefault)) {
                on = !byDefault;
                shiftBookRange(kRosterSheet, QStringLiteral("TimeSum")).setValue(on);
            }
        } catch (const std::exception&) {
        }
        return on;
    };
    Sw_勤務日数調整 = adjustment(QStringLiteral("勤務日数調整"), true);
    Sw_勤務時間調整 = adjustment(QStringLiteral("勤務時間調整"), false);
    if (RangeExist(basic, QStringLiteral("休日対象外")))
        Sw_休日対象外 = cellAsBool(basicRange(QStringLiteral("休日対象外")).value());
    指定勤務 = QStringList{QString()};
    if (RangeExist(basic, QStringLiteral("勤務指定"))) {
        if (!cellAsBool(basicRange(QStringLiteral("勤務指定")).value())) {
            for (int i = 1; i <= Type_Cnt; ++i)
                指定勤務.append(QString::number(i));
        } else {
            const QStringList parts = XlText(basicRange(QStringLiteral("指定勤務")).value()).split(QLatin1Char(','));
            for (const QString& part : parts)
                if (Val(part) > 0)
                    指定勤務.append(part);
        }
    }
    Sw_勤務集中 = basicSwitchOn(QStringLiteral("勤務集中"));
    Sw_平日勤務集中 = basicSwitchOn(QStringLiteral("平日勤務集中"));
}

// The rules on 基本設定.
void readBasicRules()
{
    xl::Worksheet& basic = appSheet(kSettingsSheet);
    const auto integerCell = [](const QString& name) {
        const xl::Range r = basicRange(name);
        return integerAt(textVal(r.value()), cellPlace(r));
    };
    {
        const xl::Range r = basicRange(QStringLiteral("経過表示"));
        経過表示 = longAt(asNumber(r.value()), cellPlace(r));
    }
    {
        const Grid g(basicRange(QStringLiteral("DayBefore_Table")), kSettingsSheet, QStringLiteral("DayBefore_Table"));
        for (int s = 1; s <= Type_Cnt; ++s)
            DayBefore_Table(s) = longAt(asNumber(g(1, s)), g.place(1, s));
    }
    連続勤務上限 = integerCell(QStringLiteral("連続勤務上限"));
    連続休み上限 = integerCell(QStringLiteral("連続休み上限"));
    readForbiddenPatterns();
    readRequiredPatterns();
    readAdjustmentSwitches(basic);
    Yasumi_Kigou = basicRange(QStringLiteral("Yasumi_Kigou")).text();
}

// 1 (Monday) .. 7 (Sunday), 0 for no weekly limit: any other week start would silently count
// the weeks from a day the user did not choose.
int weekStart(const xl::Range& cell)
{
    const QVariant v = cell.value();
    const double n = asNumber(v);
    const int w = fitsIn(NumberType::Integer, n) ? toInteger(n) : -1;
    if (!isNumericCell(v) || v.typeId() == QMetaType::Bool || w < 0 || w > 7)
        throw ReadStop::input(QStringLiteral("【基本設定】の週の起点曜日(%1)が正しくありません！").arg(cell.text()) + kCrLf
                              + QStringLiteral("1（月）～7（日）を入力してください（週の制限なしは0）！"));
    return w;
}

// The workbook-level names.
void readBookNames()
{
    {
        const xl::Range r = bookLevelRange(QStringLiteral("最適化比重"));
        checkCount(int(r.count()), kMaxOptimiserWeights, QStringLiteral("最適化比重の欄の数"));
        const Grid g(r, QString(), QStringLiteral("最適化比重"));
        int i = 0;
        for (int row = 1; row <= r.rowCount(); ++row)
            for (int col = 1; col <= r.columnCount(); ++col)
                最適化比重(++i) = singleAt(textVal(g(row, col)), g.place(row, col));
    }
    try {
        基点曜日 = weekStart(bookLevelRange(QStringLiteral("基点曜日")));
        const xl::Range limit = bookLevelRange(QStringLiteral("週間勤務日数上限"));
        週間勤務日数上限 = integerAt(asNumber(limit.value()), cellPlace(limit));
    } catch (const std::exception&) {
    }
    Sw_自動再挑戦 = true;
    try {
        if (equalsBool(bookLevelRange(QStringLiteral("自動再挑戦")).value(), false))
            Sw_自動再挑戦 = false;
    } catch (const std::exception&) {
    }
    try {
        const xl::Range display = bookLevelRange(QStringLiteral("進行状況表示"));
        進行状況表示 = integerAt(asNumber(display.value()), cellPlace(display));
    } catch (const std::exception&) {
    }
}

void setStartDay()
{
    // With no days every start day would be refused as outside the period: say what is wrong.
    if (Day_Cnt == 0)
        throw ReadStop::input(QStringLiteral("期間の日数が0日です！") + kCrLf
                              + QStringLiteral("【開始条件】の年・月・期間の開始日を確認してください！"));
    // An empty start day or first day reads as 0, which would silently start on the last day.
    for (const auto& [value, name] : {std::pair{作成開始日, QStringLiteral("日")}, std::pair{基準開始日, QStringLiteral("基準開始日")}})
        if (value < 1)
            throw ReadStop::input(QStringLiteral("%1（%2）の値(%3)が正しくありません！")
                                      .arg(cellPlace(shiftBookRange(QStringLiteral("Main"), name)), name)
                                      .arg(value)
                                  + kCrLf + QStringLiteral("【開始条件設定】で1～31を設定してください！"));
    Start_Day = int(作成開始日 - 基準開始日 + 1);
    if (Start_Day < 1)
        Start_Day += Day_Cnt;
    if (Start_Day < 1 || Start_Day > Day_Cnt)
        throw ReadStop::input(QStringLiteral("作成開始日(%1)が期間の外にあります！").arg(作成開始日));
}

// Personal conditions, work-day targets and hour limits on スケジュール.
void readPersonalConditions()
{
    xl::Worksheet& schedule = appSheet(kScheduleSheet);
    int withScdl = 1;
    try {
        if (equalsNumber(activeBookRange(kScheduleSheet, QStringLiteral("個人条件数")).value(), 0))
            withScdl = 0;
    } catch (const std::exception&) {
    }
    if (withScdl == 1) {
        const Grid g(activeBookRange(kScheduleSheet, QStringLiteral("Member_Scdl")), kScheduleSheet, QStringLiteral("Member_Scdl"));
        for (int i = 1; i <= Member_Cnt; ++i)
            for (int d = 1; d <= Day_Cnt; ++d)
                Member_Scdl(i, d) = longAt(textVal(g(i, d)), g.place(i, d));
    }
    double kind = 0;
    if (RangeExist(schedule, QStringLiteral("予定休み区分")))
        kind = textVal(activeBookRange(kScheduleSheet, QStringLiteral("予定休み区分")).value());
    {
        const Grid g(activeBookRange(kScheduleSheet, QStringLiteral("Member_DayOff")), kScheduleSheet, QStringLiteral("Member_DayOff"));
        for (int i = 1; i <= Member_Cnt; ++i) {
            // A count of days: the target is taken as a whole number of them.
            const int v = integerAt(textVal(g(i, 1)), g.place(i, 1));
            Member_DayOff(i) = float(kind == 1 ? v : Day_Cnt - v);
        }
    }
    if (RangeExist(schedule, QStringLiteral("Member_Time"))) {
        const Grid g(activeBookRange(kScheduleSheet, QStringLiteral("Member_Time")), kScheduleSheet, QStringLiteral("Member_Time"));
        for (int i = 1; i <= Member_Cnt; ++i)
            Member_Time(i) = singleAt(textVal(g(i, 1)), g.place(i, 1));
    }
}

void readLastMonthTotals(const Stage& stage)
{
    Sw_過去累計使用 = cellAsBool(bookLevelRange(QStringLiteral("過去累計使用")).value());
    lastMonthTotals = {};
    if (!Sw_過去累計使用)
        return;
    stage(QStringLiteral("先月データ読込み"));
    try {
        XlApp().run(stBookName + QStringLiteral("!先月データ読込み"));
    } catch (const std::exception&) {
    }
    const Grid g(bookLevelRange(QStringLiteral("過去計")), QString(), QStringLiteral("過去計"));
    lastMonthTotals.ReDim(Member_Cnt + 1, 13);
    for (int i = 1; i <= Member_Cnt; ++i) {
        for (int j = 1; j <= Type_Cnt; ++j)
            lastMonthTotals(i, j) = singleAt(textVal(g(i, j)), g.place(i, j));
        lastMonthTotals(i, 11) = singleAt(textVal(g(i, 11)), g.place(i, 11));
        lastMonthTotals(i, 13) = singleAt(asNumber(g(i, 13)), g.place(i, 13));
    }
    addLastMonthTotals();
}

// Staff needed per shift type and day, and each day's total. A need that is no number, or one
// that no roster can staff, would plan the month for the wrong number of staff.
void readNeeds()
{
    const xl::Range r = activeBookRange(kStaffSheet, QStringLiteral("Need_Table"));
    const Grid g(r, kStaffSheet, QStringLiteral("Need_Table"));
    for (int d = 1; d <= Day_Cnt; ++d)
        for (int t = 1; t <= Type_Cnt; ++t) {
            const QVariant& v = g(t, d);
            const double n = asNumber(v);
            if (!isNumericCell(v) || v.typeId() == QMetaType::Bool || n < 0 || n > MEM_MAX)
                throw ReadStop::input(
                    QStringLiteral("【要員設定】の必要人数（%1の%2日、セル%3）が「%4」になっています！")
                        .arg(Type_Table(t, TYPE_勤務))
                        .arg(d)
                        .arg(xl::columnLetters(r.column() + d - 1) + QString::number(r.row() + t - 1), XlText(v))
                    + kCrLf + QStringLiteral("必要人数には0～%1の数を入力してください！").arg(MEM_MAX));
            Need_Table(t, d) = toInteger(n);
            Need_Table(0, d) += Need_Table(t, d);
        }
}

void readGroupBans()
{
    const xl::Range countRange = activeBookRange(kStaffSheet, QStringLiteral("組合せ禁止数_grp"));
    組合せ禁止数_grp = integerAt(textVal(countRange.value()), cellPlace(countRange));
    const xl::Range r = activeBookRange(kStaffSheet, QStringLiteral("組合せ禁止_grp"));
    checkCount(組合せ禁止数_grp, std::min(r.rowCount(), kMaxBannedGroups), QStringLiteral("【要員設定】のグループ組合せ禁止の数"));
    const Grid g(r, kStaffSheet, QStringLiteral("組合せ禁止_grp"));
    for (int i = 1; i <= 組合せ禁止数_grp; ++i) {
        if (isEmptyCell(g(i, 1)))
            continue;
        Mem_Kinsi_grp(i) = 組合せ_grp記録{TypeIdxOrg(XlText(g(i, 1))), integerAt(asNumber(g(i, 2)), g.place(i, 2)), XlText(g(i, 3))};
    }
    for (int i = 1; i <= 組合せ禁止数_grp; ++i)
        if (!isEmptyCell(g(i, 1)))
            appendGroupRecord(Mem_Kinsi, 組合せ禁止数, kMaxBannedGroups, Mem_Kinsi_grp(i), true,
                              QStringLiteral("【要員設定】の組合せ禁止"));
}

// Group musts, "*" for the shift expanded to one record per shift type.
void readGroupMusts()
{
    const xl::Range countRange = activeBookRange(kStaffSheet, QStringLiteral("組合せ必須数_grp"));
    組合せ必須数_grp = integerAt(asNumber(countRange.value()), cellPlace(countRange));
    const xl::Range r = activeBookRange(kStaffSheet, QStringLiteral("組合せ必須_grp"));
    checkCount(組合せ必須数_grp, r.rowCount(), QStringLiteral("【要員設定】のグループ組合せ必須の数"));
    const Grid g(r, kStaffSheet, QStringLiteral("組合せ必須_grp"));
    int k = 0;
    for (int i = 1; i <= 組合せ必須数_grp; ++i) {
        if (isEmptyCell(g(i, 1)))
            continue;
        const int v = TypeIdxOrg(XlText(g(i, 1)));
        const int people = integerAt(asNumber(g(i, 2)), g.place(i, 2));
        const QString group = XlText(g(i, 3));
        const int n = v == kAllShifts ? Type_Cnt : 1;
        checkCount(k + n, kMaxRequiredGroups, QStringLiteral("【要員設定】のグループ組合せ必須の件数（「*」の展開を含む）"));
        for (int t = 1; t <= n; ++t)
            Mem_Hissu_grp(++k) = 組合せ_grp記録{v == kAllShifts ? t : v, people, group};
    }
    for (int i = 1; i <= k; ++i)
        appendGroupRecord(Mem_Hissu, 組合せ必須数, kMaxRequiredGroups, Mem_Hissu_grp(i), false,
                          QStringLiteral("【要員設定】の組合せ必須"));
}

// Member and group combinations; false after the data-error message for an unknown shift name.
bool readAllCombinations()
{
    if (!readCombinations(QStringLiteral("組合せ禁止数"), QStringLiteral("組合せ禁止"), Mem_Kinsi, 組合せ禁止数,
                          kMaxBannedGroups, QStringLiteral("【要員設定】の組合せ禁止の数"),
                          QStringLiteral("【要員設定】の【組合せ禁止パターン】で規定外の勤務種別が設定されています！")))
        return false;
    readGroupBans();
    if (!readCombinations(QStringLiteral("組合せ必須数"), QStringLiteral("組合せ必須"), Mem_Hissu, 組合せ必須数,
                          kMaxRequiredGroups, QStringLiteral("【要員設定】の組合せ必須の数"),
                          QStringLiteral("【要員設定】の【組合せ必須パターン】で規定外の勤務種別が設定されています！")))
        return false;
    readGroupMusts();
    return true;
}

void readBorderColours()
{
    const auto colour = [](const QString& sheet, const QString& name) {
        const std::optional<xl::Range> r = GetRangeObj(&appSheet(sheet), name);
        return r ? longAt(textVal(r->value()), cellPlace(*r)) : 0;
    };
    予約罫線色 = colour(kReservationSheet, QStringLiteral("予約罫線色"));
    全不可罫線色 = colour(kScheduleSheet, QStringLiteral("全不可罫線色"));
    Rsv_Table_Copy = Rsv_Table;
}

// Reservations: into Rsv_Table, the grid (one block) and the member totals.
void readReservations(const Stage& stage)
{
    const xl::Range countRange = activeBookRange(kReservationSheet, QStringLiteral("予約数"));
    int reservations = 1;
    const QVariant c = countRange.value();
    if (isNumericCell(c))
        reservations = longAt(asNumber(c), cellPlace(countRange));
    if (reservations <= 0 || Member_Cnt <= 0)
        return;
    stage(QStringLiteral("予約設定中！"));
    const XlSwitchesGuard switches(XlSwitchesGuard::OnAtEnd{});
    xlAppSetting(false, true, true);
    const Grid rsv(activeBookRange(kReservationSheet, QStringLiteral("Member_Rsv")), kReservationSheet, QStringLiteral("Member_Rsv"));
    const xl::Range grid = shiftBookRange(kRosterSheet, QStringLiteral("Time_Table"));
    if (grid.rowCount() < Member_Cnt || grid.columnCount() < Day_Cnt)
        throw ReadStop::data(QStringLiteral("シート「人員配置表」の範囲「Time_Table」が%1人×%2日より小さくなっています！")
                                 .arg(Member_Cnt)
                                 .arg(Day_Cnt));
    // Checked whole first, so that a refused cell changes nothing.
    for (int i = 1; i <= Member_Cnt; ++i)
        for (int d = Start_Day; d <= Day_Cnt; ++d)
            if (TypeIdx(XlText(rsv(i, d))) == kAllShifts)
                throw ReadStop::input(QStringLiteral("【予約表】の%1番目のメンバーの%2日に「*」が入っています！").arg(i).arg(d)
                                      + kCrLf + QStringLiteral("予約には勤務の略称を入力してください！"));
    const xl::Range block = grid.cells(1, Start_Day).resize(Member_Cnt, Day_Cnt - Start_Day + 1);
    xl::Block cells = block.block();
    for (int i = 1; i <= Member_Cnt; ++i)
        for (int d = Start_Day; d <= Day_Cnt; ++d) {
            const int t = TypeIdx(XlText(rsv(i, d)));
            Rsv_Table(i, d) = t;
            if (t >= 1 && t <= Type_Cnt) {
                cells(i, d - Start_Day + 1) = Type_Table(t, TYPE_略称);
                Time_Table(i, d) = t;
                勤務集計加算(i, t, d);
            }
        }
    block.setBlock(cells);
    Rsv_Table_Copy = Rsv_Table;
}

// Last month's final days.
void readLastMonthDays(const Stage& stage)
{
    Sw_初期値使用 = equalsBool(bookLevelRange(QStringLiteral("初期値使用")).value(), true);
    if (!Sw_初期値使用)
        return;
    stage(QStringLiteral("先月結果読み込み中！"));
    bool loaded = false;
    const int prev = 作成月 == 1 ? 12 : int(作成月 - 1);
    if (Start_Day == 1 && equalsNumber(bookLevelRange(QStringLiteral("先月_月")).value(), prev)) {
        const Grid g(bookLevelRange(QStringLiteral("先月_結果")), QString(), QStringLiteral("先月_結果"));
        long sum = 0;
        for (int i = 1; i <= Member_Cnt; ++i) {
            for (int j = 1; j <= 10; ++j) {
                const int t = TypeIdx(XlText(g(i + 2, 11 - j)));
                // "*" is no day anyone worked; the run checks would count it as work.
                Past_Table(i, j) = t == kAllShifts ? 0 : t;
                sum += Past_Table(i, j);
            }
            Time_Table(i, 0) = Past_Table(i, 1);
        }
        loaded = sum != 0;
    }
    // Without loaded days the ten days before the period are unknown, not rest days.
    if (!loaded)
        Sw_初期値使用 = false;
}

int readAllConditionsBody(int quiet)
{
    const Stage stage = [quiet](const QString& text) {
        if (quiet == 0)
            DspSplash(text);
    };
    if (!基本情報読込())
        return -1;
    if (!Sw_バックグラウンド動作) {
        SheetSelect(kRosterSheet);
        XlApp().setVisible(true);
    }
    readBasicRules();
    readBookNames();
    setStartDay();

    stage(QStringLiteral("個人別条件読込中"));
    // Without members there is nothing to plan; the roster reading would pass silently.
    if (Member_Cnt == 0)
        throw ReadStop::input(QStringLiteral("【個人条件設定】にメンバーが入力されていません！"));
    const QString rosterError = 名簿読込();
    if (!rosterError.isEmpty()) {
        MsgBox(rosterError, ui::vbOKOnly | ui::vbSystemModal, QStringLiteral("入力エラー"));
        return -1;
    }
    readPersonalConditions();
    readLastMonthTotals(stage);

    stage(QStringLiteral("要員設定読込み中"));
    readNeeds();
    if (!readAllCombinations())
        return -1;
    readBorderColours();
    readReservations(stage);
    readLastMonthDays(stage);

    DspSplash(QString());
    return Start_Day;
}

}  // namespace

bool 基本情報読込()
{
    return readShowingErrors(readBasicInfoBody);
}

void 勤務種別表読込()
{
    appSheet(kSettingsSheet);
    BootLog(QStringLiteral("　勤務種別表読込: Set MyCells = xlApp.Worksheets('基本設定')"));
    BootLog(QStringLiteral("　勤務種別表読込: For i = 1 To Type_Cnt"));
    const Grid input(activeBookRange(kSettingsSheet, QStringLiteral("Type_Table_Input")), kSettingsSheet, QStringLiteral("Type_Table_Input"));
    const Grid span(activeBookRange(kSettingsSheet, QStringLiteral("Type_Span")), kSettingsSheet, QStringLiteral("Type_Span"));
    std::optional<Grid> count;
    if (xlRangeExist(QStringLiteral("Type_Count"), kSettingsSheet))
        count.emplace(activeBookRange(kSettingsSheet, QStringLiteral("Type_Count")), kSettingsSheet, QStringLiteral("Type_Count"));
    for (int i = 1; i <= Type_Cnt; ++i) {
        Type_Table(i, 0) = QString::number(i);
        Type_Table(i, TYPE_勤務) = XlText(input(i, 1));
        BootLog(QStringLiteral("　勤務種別表読込: Type_Table(i, TYPE_勤務) = MyCells.Range('Type_Table_Input').Cells(i, 1)"));
        Type_Table(i, TYPE_略称) = XlText(input(i, 2));
        BootLog(QStringLiteral("　勤務種別表読込: Type_Table(i, TYPE_略称) = MyCells.Range('Type_Table_Input').Cells(i, 2)"));
        Type_Table(i, TYPE_時間) = QString::number(textVal(input(i, 7)), 'g', 15);
        BootLog(QStringLiteral("　勤務種別表読込: Type_Table(i, TYPE_時間) = Val(MyCells.Range('Type_Table_Input').Cells(i, 7))"));
        Type_Span(i, 1) = i;
        Type_Span(i, 2) = longAt(textVal(span(i, 1)), span.place(i, 1));
        BootLog(QStringLiteral("　勤務種別表読込: Type_Span(i, 2) = Val(MyCells.Range('Type_Span').Cells(i, 1))"));
        Type_Count(i, 1) = i;
        if (count) {
            Type_Count(i, 2) = longAt(textVal((*count)(i, 1)), count->place(i, 1));
            BootLog(QStringLiteral("　勤務種別表読込: Type_Count(i, 2) = Val(MyCells.Range('Type_Count').Cells(i, 1))"));
        } else {
            Type_Count(i, 2) = 0;
        }
        Type_Color(i, 1) = i;
        Type_Color(i, 2) = longAt(asNumber(input(i, TYPE_色)), input.place(i, TYPE_色));
        BootLog(QStringLiteral("　勤務種別表読込: Type_Color(i, 2) = MyCells.Range('Type_Table_Input').Cells(i, TYPE_色)"));
    }
    Type_Table(0, 0) = QString::number(Type_Cnt);
}

QString 名簿読込()
{
    appSheet(kScheduleSheet);
    const Grid holidays(activeBookRange(kScheduleSheet, QStringLiteral("休日調査")), kScheduleSheet, QStringLiteral("休日調査"));
    BootLog(QStringLiteral("　名簿読込: Set MyCells = .Range('休日調査')"));
    BootLog(QStringLiteral("　名簿読込: For d = 1 To Day_Cnt"));
    for (int d = 1; d <= Day_Cnt; ++d) {
        const QVariant& v = holidays(1, d);
        Holiday_Chk(d) = isNumericCell(v) ? integerAt(asNumber(v), holidays.place(1, d)) : 9;
    }

    const Grid list(activeBookRange(kScheduleSheet, QStringLiteral("Member_List")), kScheduleSheet, QStringLiteral("Member_List"));
    BootLog(QStringLiteral("　名簿読込: Set Set MyCells = .Range('Member_List')"));
    BootLog(QStringLiteral("　名簿読込: For Mem_No = 1 To Member_Cnt"));
    const QString check = kCrLf + QStringLiteral("[個人条件設定]を確認してください！");
    for (int i = 1; i <= Member_Cnt; ++i) {
        if (isEmptyCell(list(i, 1)))
            return QStringLiteral("番号が空白です！") + check;
        Member_List(i, 1) = XlText(list(i, 1));
        // Member numbers are Integers wherever a combination or a lookup holds them.
        if (!fitsIn(NumberType::Integer, Val(Member_List(i, 1))))
            return QStringLiteral("%1の番号(%2)が大きすぎます！").arg(list.place(i, 1), Member_List(i, 1)) + kCrLf
                   + QStringLiteral("番号は%1の数にしてください！").arg(typeRange(NumberType::Integer)) + check;
        if (isEmptyCell(list(i, 2)))
            return QStringLiteral("氏名が空白です！") + check;
        Member_List(i, 2) = XlText(list(i, 2));
        Member_List(i, 3) = XlText(list(i, 3));
    }

    BootLog(QStringLiteral("　名簿読込: Set MyCells = xlApp.Worksheets('スケジュール')"));
    BootLog(QStringLiteral("　名簿読込: If MyCells.Range('番号数') <> MyCells.Range('名前数') Then"));
    if (XlText(activeBookRange(kScheduleSheet, QStringLiteral("番号数")).value()) != XlText(activeBookRange(kScheduleSheet, QStringLiteral("名前数")).value()))
        return QStringLiteral("「個人条件設定」で[番号]と[名前]の数が一致しません！") + kCrLf
               + QStringLiteral("[番号]が空白になっていませんか？") + kCrLf + QStringLiteral("[番号]は入力必須です！");

    BootLog(QStringLiteral("　名簿読込: For Mem_No = 1 To Member_Cnt"));
    for (int i = 1; i <= Member_Cnt; ++i)
        for (int j = i + 1; j <= Member_Cnt; ++j) {
            // The lookups compare numbers by value, so "1" and "01" are one member.
            const QString& a = Member_List(i, 1);
            const QString& b = Member_List(j, 1);
            const bool same = a == b || (Val(a) != 0 && Val(a) == Val(b));
            if (same)
                return QStringLiteral("番号") + QString::number(j) + QStringLiteral("が重複しています！")
                       + QStringLiteral("[個人条件設定]を確認してください！");
        }
    return QString();
}

void グループ読込()
{
    const QVariant v = activeBookRange(kSettingsSheet, QStringLiteral("職制_Ex")).value();
    if (v.canConvert<xl::Block>() && v.userType() == qMetaTypeId<xl::Block>()) {
        const xl::Block b = v.value<xl::Block>();
        職制_Ex.ReDim(b.rows(), b.columns());
        for (int r = 1; r <= b.rows(); ++r)
            for (int c = 1; c <= b.columns(); ++c)
                職制_Ex(r, c) = b(r, c);
    } else {
        職制_Ex.ReDim(1, 1);
        職制_Ex(1, 1) = v;
    }
}

int 全条件読込(int quiet)
{
    int start = -1;
    readShowingErrors([&] { start = readAllConditionsBody(quiet); });
    return start;
}

void installConditionModelSteps()
{
    conditionModelSteps.resetShiftFactors = [] {
        for (int i = 1; i <= Type_Cnt && i <= 最適化比重.UBound(); ++i)
            最適化比重(i) = 1.0f;
    };
    conditionModelSteps.readAllConditions = [](bool quiet) { return 全条件読込(quiet ? -1 : 0); };
    conditionModelSteps.resizeToMaximum = [] { maximiseWorkArrays(); };
}
