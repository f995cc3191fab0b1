#include "storage/snapshot.h"

#include "engine/cells.h"
#include "engine/convert.h"
#include "engine/model.h"
#include "engine/workbook_access.h"
#include "platform/text/time_of_day.h"
#include "shell/excel_layer.h"
#include "shell/period.h"
#include "workbook/sheet_names.h"

#include <QTime>
#include <algorithm>

using namespace cell_reading;

namespace {

// Member numbers of a combination stand in every fifth column from column 4.
constexpr int kGroupMemberColumns = 40;

QVariant 値(const QString& sheet, const QString& name)
{
    return activeBookRange(sheet, name).value();
}

Grid sheetGrid(const QString& sheet, const QString& name)
{
    return Grid(activeBookRange(sheet, name), sheet, name);
}

// The sheets keep a time of day as a fraction of the day; the database keeps the time.
QVariant timeValue(const QVariant& v)
{
    if (v.typeId() != QMetaType::Double)
        return v;
    const double f = v.toDouble();
    if (f < 0 || f >= 1)
        return v;
    const int seconds = int(std::min<qint64>(text::wholeSeconds(f), 86399));
    return QTime::fromMSecsSinceStartOfDay(seconds * 1000);
}

void 勤務種別(std::vector<SavedTable>& out)
{
    const Grid input = sheetGrid(kSettingsSheet, QStringLiteral("Type_Table_Input"));
    const Grid count = sheetGrid(kSettingsSheet, QStringLiteral("Type_Count"));
    const Grid rest1 = sheetGrid(kSettingsSheet, QStringLiteral("REST_TIME"));
    const Grid rest2 = sheetGrid(kSettingsSheet, QStringLiteral("REST_TIME2"));
    const Grid rest3 = sheetGrid(kSettingsSheet, QStringLiteral("REST_TIME3"));
    SavedTable t{QStringLiteral("T_勤務種別"),
             {QStringLiteral("勤務No"), QStringLiteral("勤務名"), QStringLiteral("略称"), QStringLiteral("開始時刻"),
              QStringLiteral("終了時刻"), QStringLiteral("勤務時間"), QStringLiteral("色"), QStringLiteral("間隔"),
              QStringLiteral("回数上限"), QStringLiteral("休憩開始1"), QStringLiteral("休憩終了1"),
              QStringLiteral("休憩開始2"), QStringLiteral("休憩終了2"), QStringLiteral("休憩開始3"),
              QStringLiteral("休憩終了3")},
             {}};
    for (int i = 1; i <= Type_Cnt; ++i)
        t.rows.push_back({i, Type_Table(i, TYPE_勤務), Type_Table(i, TYPE_略称), timeValue(input(i, 3)), timeValue(input(i, 6)),
                        input(i, 7), input(i, 9), input(i, 8), count(i, 1), timeValue(rest1(i, 1)), timeValue(rest1(i, 2)),
                        timeValue(rest2(i, 1)), timeValue(rest2(i, 2)), timeValue(rest3(i, 1)), timeValue(rest3(i, 2))});
    out.push_back(std::move(t));
}

void nextDayBans(std::vector<SavedTable>& out)
{
    SavedTable t{QStringLiteral("T_DayBefore_Table"), {QStringLiteral("No"), QStringLiteral("値")}, {}};
    for (int i = 1; i <= Type_Cnt; ++i)
        t.rows.push_back({i, DayBefore_Table(i)});
    out.push_back(std::move(t));
}

// A pattern table: rows up to the first one that starts empty; each row's shifts up to its first
// empty cell, the later ones left empty.
SavedTable patternTable(const QString& table, const QString& rangeName, int columns, bool withCount)
{
    const xl::Range r = activeBookRange(kSettingsSheet, rangeName);
    const Grid g(r, kSettingsSheet, rangeName);
    SavedTable t{table, {QStringLiteral("No")}, {}};
    if (withCount)
        t.fields << QStringLiteral("Cnt");
    for (int c = 1; c <= columns; ++c)
        t.fields << QStringLiteral("d%1").arg(c);
    for (int i = 1; i <= std::min(r.rowCount(), kMaxPatterns) && !isEmptyCell(g(i, 1)); ++i) {
        QVariantList days(columns);
        int n = 0;
        while (n < columns && !isEmptyCell(g(i, n + 1))) {
            days[n] = TypeIdx(XlText(g(i, n + 1)));
            ++n;
        }
        QVariantList row{i};
        if (withCount)
            row << n;
        t.rows.push_back(row + days);
    }
    return t;
}

void 禁止パターン(std::vector<SavedTable>& out)
{
    out.push_back(patternTable(QStringLiteral("T_KinsiPattern"), QStringLiteral("禁止パターン"), 5, true));
}

void 必須パターン(std::vector<SavedTable>& out)
{
    out.push_back(patternTable(QStringLiteral("T_HissuPattern"), QStringLiteral("必須パターン"), 2, false));
}

void グループ(std::vector<SavedTable>& out)
{
    SavedTable t{QStringLiteral("T_グループ"), {QStringLiteral("グループNo"), QStringLiteral("グループ名"), QStringLiteral("色")}, {}};
    const bool withColour = 職制_Ex.UBound(2) >= 2;
    for (int i = 1; i <= 職制_Ex.UBound(1); ++i)
        t.rows.push_back({i, 職制_Ex(i, 1), withColour ? 職制_Ex(i, 2) : QVariant()});
    out.push_back(std::move(t));
}

void 名簿(std::vector<SavedTable>& out)
{
    SavedTable t{QStringLiteral("T_名簿"), {QStringLiteral("Id"), QStringLiteral("氏名"), QStringLiteral("グループ")}, {}};
    for (int i = 1; i <= Member_Cnt; ++i) {
        QVariant group = Member_List(i, 3);
        t.rows.push_back({Member_List(i, 1), Member_List(i, 2), ListIdx(group)});
    }
    out.push_back(std::move(t));
}

void 予定休み数(std::vector<SavedTable>& out)
{
    const Grid g = sheetGrid(kScheduleSheet, QStringLiteral("Member_DayOff"));
    SavedTable t{QStringLiteral("T_Work_予定休み数"), {QStringLiteral("Id"), QStringLiteral("予定休み数")}, {}};
    for (int i = 1; i <= Member_Cnt; ++i)
        t.rows.push_back({Member_List(i, 1), isEmptyCell(g(i, 1)) ? QVariant() : g(i, 1)});
    out.push_back(std::move(t));
}

void restWeekdayStaffing(std::vector<SavedTable>& out)
{
    const xl::Range r = activeBookRange(kSettingsSheet, QStringLiteral("最少必要人数"));
    const Grid g(r, kSettingsSheet, QStringLiteral("最少必要人数"));
    SavedTable t{QStringLiteral("T_休平日要人数"), {QStringLiteral("勤務種別"), QStringLiteral("平日人数"), QStringLiteral("休日人数")}, {}};
    for (int i = 1; i <= r.rowCount(); ++i)
        t.rows.push_back({i, NullIfEmpty(g(i, 1)), NullIfEmpty(g(i, 2))});
    out.push_back(std::move(t));
}

// One block of combination rows and the numbers they are stored under: No = row + offset.
struct GroupBlock {
    const char* range;
    int first;
    int last;
    int offset;
};

void groupConditions(std::vector<SavedTable>& out)
{
    static const GroupBlock blocks[] = {
        {"組合せ禁止", 1, 5, 0}, {"組合せ禁止", 6, 15, 5}, {"組合せ必須", 1, 5, 5}, {"組合せ必須", 6, 15, 15}};
    SavedTable head{QStringLiteral("T_Work_組み合せ条件"), {QStringLiteral("No"), QStringLiteral("勤務"), QStringLiteral("人数")}, {}};
    SavedTable members{QStringLiteral("T_Work_組み合せ条件_Sub"), {QStringLiteral("No"), QStringLiteral("Id")}, {}};
    for (const GroupBlock& b : blocks) {
        const Grid g = sheetGrid(kStaffSheet, QString::fromUtf8(b.range));
        for (int i = b.first; i <= b.last; ++i) {
            const int no = i + b.offset;
            // The count stands in column 3, as the condition reading takes it.
            const int shift = TypeIdxOrg(XlText(g(i, 1)));
            if (shift > 0)
                head.rows.push_back({no, shift, toInteger(textVal(g(i, 3)))});
            else
                head.rows.push_back({no, 0, 0});
            for (int k = 1; k <= kGroupMemberColumns; ++k) {
                const double id = textVal(g(i, 5 * (k - 1) + 4));
                if (id > 0)
                    members.rows.push_back({no, id});
            }
        }
    }
    out.push_back(std::move(head));
    out.push_back(std::move(members));
}

void groupConditionsByGroup(std::vector<SavedTable>& out)
{
    static const GroupBlock blocks[] = {{"組合せ禁止_grp", 1, 5, 0},
                                         {"組合せ禁止_grp", 6, 15, 5},
                                         {"組合せ必須_grp", 1, 5, 5},
                                         {"組合せ必須_grp", 6, 15, 20}};
    SavedTable t{QStringLiteral("T_Work_組み合せ条件_Group"),
             {QStringLiteral("No"), QStringLiteral("勤務"), QStringLiteral("人数"), QStringLiteral("グループ"),
              QStringLiteral("努力")},
             {}};
    for (const GroupBlock& b : blocks) {
        const Grid g = sheetGrid(kStaffSheet, QString::fromUtf8(b.range));
        for (int i = b.first; i <= b.last; ++i) {
            const int no = i + b.offset;
            if (isEmptyCell(g(i, 1))) {
                t.rows.push_back({no, 0, 0, 0, 0});
                continue;
            }
            QVariant group = g(i, 3);
            t.rows.push_back({no, TypeIdxOrg(XlText(g(i, 1))), toInteger(textVal(g(i, 2))), ListIdx(group), 0});
        }
    }
    out.push_back(std::move(t));
}

void 要員(std::vector<SavedTable>& out)
{
    const Grid g = sheetGrid(kStaffSheet, QStringLiteral("Need_Table"));
    SavedTable t{QStringLiteral("T_Work_要員"), {QStringLiteral("No"), QStringLiteral("日"), QStringLiteral("人数")}, {}};
    for (int s = 1; s <= Type_Cnt; ++s)
        for (int d = 1; d <= Day_Cnt; ++d)
            t.rows.push_back({s, d, g(s, d)});
    out.push_back(std::move(t));
}

// The signs of the weekday list, as "101-1" for 1, 0, 2, -3.
QString 固定休()
{
    const xl::Range r = activeBookRange(kSettingsSheet, QStringLiteral("休み_List"));
    const Grid g(r, kSettingsSheet, QStringLiteral("休み_List"));
    QString text;
    for (int i = 1; i <= r.rowCount(); ++i) {
        const double v = asNumber(g(i, 1));
        text += QString::number(v > 0 ? 1 : v < 0 ? -1 : 0);
    }
    return text;
}

void 基本設定(std::vector<SavedTable>& out)
{
    SavedTable basic{QStringLiteral("T_基本設定"),
                 {QStringLiteral("平日勤務集中"), QStringLiteral("固定休"), QStringLiteral("連続勤務日数上限"),
                  QStringLiteral("連続休み日数上限"), QStringLiteral("勤務日数調整"), QStringLiteral("勤務時間調整"),
                  QStringLiteral("割当勤務"), QStringLiteral("勤務リスト"), QStringLiteral("休み記号"),
                  QStringLiteral("休み色"), QStringLiteral("基点曜日"), QStringLiteral("週間勤務日数上限"),
                  QStringLiteral("Excel_Highlight"), QStringLiteral("初期値使用"), QStringLiteral("過去累計使用"),
                  QStringLiteral("予約罫線色")},
                 {},
                 true};
    basic.rows.push_back({値(kSettingsSheet, QStringLiteral("平日勤務集中")), 固定休(),
                        値(kSettingsSheet, QStringLiteral("連続勤務上限")), 値(kSettingsSheet, QStringLiteral("連続休み上限")),
                        値(kSettingsSheet, QStringLiteral("勤務日数調整")), 値(kSettingsSheet, QStringLiteral("勤務時間調整")),
                        値(kSettingsSheet, QStringLiteral("勤務指定")), 値(kSettingsSheet, QStringLiteral("指定勤務")),
                        値(kSettingsSheet, QStringLiteral("Yasumi_Kigou")), 値(kSettingsSheet, QStringLiteral("Color_Yasumi")),
                        値(kSettingsSheet, QStringLiteral("基点曜日")), 値(kSettingsSheet, QStringLiteral("週間勤務日数上限")),
                        値(kSettingsSheet, QStringLiteral("行列ハイライト")), 値(kRosterSheet, QStringLiteral("初期値使用")),
                        値(kRosterSheet, QStringLiteral("過去累計使用")), 値(kReservationSheet, QStringLiteral("予約罫線色"))});
    SavedTable settings{QStringLiteral("T_設定値"),
                    {QStringLiteral("自動最大化"), QStringLiteral("自動再挑戦"), QStringLiteral("過去参照スパン"),
                     QStringLiteral("経過表示"), QStringLiteral("進行状況表示")},
                    {}};
    settings.rows.push_back({値(kSettingsSheet, QStringLiteral("自動画面最大化")), 値(kSettingsSheet, QStringLiteral("自動再挑戦")),
                           値(kSettingsSheet, QStringLiteral("過去参照スパン")), 値(kSettingsSheet, QStringLiteral("経過表示")),
                           値(kSettingsSheet, QStringLiteral("進行状況表示"))});
    // One row with no field set.
    SavedTable prime{QStringLiteral("T_PrimeData"), {}, {QVariantList{}}};
    out.push_back(std::move(basic));
    out.push_back(std::move(settings));
    out.push_back(std::move(prime));
}

// Per member and day, the cells of a day grid that are not empty.
SavedTable dayTable(const QString& table, const QString& sheet, const QString& rangeName, QVariant (*value)(const QVariant&))
{
    const Grid g = sheetGrid(sheet, rangeName);
    SavedTable t{table, {QStringLiteral("ID"), QStringLiteral("日付"), QStringLiteral("勤務")}, {}};
    for (int i = 1; i <= Member_Cnt; ++i)
        for (int d = 1; d <= Day_Cnt; ++d)
            if (!isEmptyCell(g(i, d)))
                t.rows.push_back({qlonglong(MemNo(i)), d, value(g(i, d))});
    return t;
}

void unavailableShifts(std::vector<SavedTable>& out)
{
    out.push_back(dayTable(QStringLiteral("T_Work_不可"), kScheduleSheet, QStringLiteral("Member_Scdl"),
                         [](const QVariant& v) { return QVariant(toLong(textVal(v))); }));
}

void reservations(std::vector<SavedTable>& out)
{
    out.push_back(dayTable(QStringLiteral("T_Work_予約"), kReservationSheet, QStringLiteral("Member_Rsv"),
                         [](const QVariant& v) { return QVariant(TypeIdx(XlText(v))); }));
}

// A numeric holiday cell is kept as it is (an empty one stays empty); a text marks a holiday.
QVariant restWeekdayValue(const QVariant& v)
{
    return isNumericCell(v) ? v : QVariant(9);
}

}  // namespace

const std::vector<TableCollector>& conditionTableCollectors()
{
    static const std::vector<TableCollector> steps = {勤務種別, nextDayBans, 禁止パターン, 必須パターン, グループ,
                                                名簿, 予定休み数, restWeekdayStaffing, groupConditions, groupConditionsByGroup,
                                                要員, 基本設定, unavailableShifts, reservations};
    return steps;
}

SavedTable shiftTableRows(const 期間& period)
{
    const Grid grid(shiftBookRange(kRosterSheet, QStringLiteral("Time_Table")), kRosterSheet, QStringLiteral("Time_Table"));
    const Grid holidays = sheetGrid(kRosterSheet, QStringLiteral("休平日"));
    SavedTable t{QStringLiteral("T_勤務表"),
             {QStringLiteral("Id"), QStringLiteral("日付"), QStringLiteral("勤務No"), QStringLiteral("休平日")},
             {}};
    for (int i = 1; i <= Member_Cnt; ++i)
        for (int d = 1; d <= Day_Cnt; ++d) {
            const int shift = TypeIdx(XlText(grid(i, d)));
            if (shift > 0)
                t.rows.push_back({Member_List(i, 1), period.日付(d), shift, restWeekdayValue(holidays(1, d))});
        }
    return t;
}
