#include "storage/snapshot.h"

#include "engine/cells.h"
#include "engine/convert.h"
#include "engine/model.h"
#include "engine/workbook_access.h"
#include "shell/period.h"

#include <QTime>
#include <cmath>

using namespace engine_cells;

namespace {

const QString k人員配置表 = QStringLiteral("人員配置表");
const QString k基本設定 = QStringLiteral("基本設定");
const QString kスケジュール = QStringLiteral("スケジュール");
const QString k要員設定 = QStringLiteral("要員設定");
const QString k予約表 = QStringLiteral("予約表");

// Member numbers of a combination stand in every fifth column from column 4.
constexpr int 組合せメンバー列数 = 40;

QVariant 値(const QString& sheet, const QString& name)
{
    return RangeS(sheet, name).value();
}

Grid 表(const QString& sheet, const QString& name)
{
    return Grid(RangeS(sheet, name), sheet, name);
}

// The sheets keep a time of day as a fraction of the day; the database keeps the time.
QVariant 時刻(const QVariant& v)
{
    if (v.typeId() != QMetaType::Double)
        return v;
    const double f = v.toDouble();
    if (f < 0 || f >= 1)
        return v;
    const int seconds = std::min(int(std::lround(f * 86400)), 86399);
    return QTime::fromMSecsSinceStartOfDay(seconds * 1000);
}

void 勤務種別(std::vector<保存表>& out)
{
    const Grid input = 表(k基本設定, QStringLiteral("Type_Table_Input"));
    const Grid count = 表(k基本設定, QStringLiteral("Type_Count"));
    const Grid rest1 = 表(k基本設定, QStringLiteral("REST_TIME"));
    const Grid rest2 = 表(k基本設定, QStringLiteral("REST_TIME2"));
    const Grid rest3 = 表(k基本設定, QStringLiteral("REST_TIME3"));
    保存表 t{QStringLiteral("T_勤務種別"),
             {QStringLiteral("勤務No"), QStringLiteral("勤務名"), QStringLiteral("略称"), QStringLiteral("開始時刻"),
              QStringLiteral("終了時刻"), QStringLiteral("勤務時間"), QStringLiteral("色"), QStringLiteral("間隔"),
              QStringLiteral("回数上限"), QStringLiteral("休憩開始1"), QStringLiteral("休憩終了1"),
              QStringLiteral("休憩開始2"), QStringLiteral("休憩終了2"), QStringLiteral("休憩開始3"),
              QStringLiteral("休憩終了3")},
             {}};
    for (int i = 1; i <= Type_Cnt; ++i)
        t.行.push_back({i, Type_Table(i, TYPE_勤務), Type_Table(i, TYPE_略称), 時刻(input(i, 3)), 時刻(input(i, 6)),
                        input(i, 7), input(i, 9), input(i, 8), count(i, 1), 時刻(rest1(i, 1)), 時刻(rest1(i, 2)),
                        時刻(rest2(i, 1)), 時刻(rest2(i, 2)), 時刻(rest3(i, 1)), 時刻(rest3(i, 2))});
    out.push_back(std::move(t));
}

void 翌日禁止(std::vector<保存表>& out)
{
    保存表 t{QStringLiteral("T_DayBefore_Table"), {QStringLiteral("No"), QStringLiteral("値")}, {}};
    for (int i = 1; i <= Type_Cnt; ++i)
        t.行.push_back({i, DayBefore_Table(i)});
    out.push_back(std::move(t));
}

// A pattern table: rows up to the first one that starts empty; each row's shifts up to its first
// empty cell, the later ones left empty.
保存表 パターン表(const QString& table, const QString& rangeName, int columns, bool withCount)
{
    const xl::Range r = RangeS(k基本設定, rangeName);
    const Grid g(r, k基本設定, rangeName);
    保存表 t{table, {QStringLiteral("No")}, {}};
    if (withCount)
        t.項目 << QStringLiteral("Cnt");
    for (int c = 1; c <= columns; ++c)
        t.項目 << QStringLiteral("d%1").arg(c);
    for (int i = 1; i <= std::min(r.rowCount(), パターン上限) && !isEmptyCell(g(i, 1)); ++i) {
        QVariantList days(columns);
        int n = 0;
        while (n < columns && !isEmptyCell(g(i, n + 1))) {
            days[n] = TypeIdx(textOf(g(i, n + 1)));
            ++n;
        }
        QVariantList row{i};
        if (withCount)
            row << n;
        t.行.push_back(row + days);
    }
    return t;
}

void 禁止パターン(std::vector<保存表>& out)
{
    out.push_back(パターン表(QStringLiteral("T_KinsiPattern"), QStringLiteral("禁止パターン"), 5, true));
}

void 必須パターン(std::vector<保存表>& out)
{
    out.push_back(パターン表(QStringLiteral("T_HissuPattern"), QStringLiteral("必須パターン"), 2, false));
}

void グループ(std::vector<保存表>& out)
{
    保存表 t{QStringLiteral("T_グループ"), {QStringLiteral("グループNo"), QStringLiteral("グループ名"), QStringLiteral("色")}, {}};
    const bool withColour = 職制_Ex.UBound(2) >= 2;
    for (int i = 1; i <= 職制_Ex.UBound(1); ++i)
        t.行.push_back({i, 職制_Ex(i, 1), withColour ? 職制_Ex(i, 2) : QVariant()});
    out.push_back(std::move(t));
}

void 名簿(std::vector<保存表>& out)
{
    保存表 t{QStringLiteral("T_名簿"), {QStringLiteral("Id"), QStringLiteral("氏名"), QStringLiteral("グループ")}, {}};
    for (int i = 1; i <= Member_Cnt; ++i) {
        QVariant group = Member_List(i, 3);
        t.行.push_back({Member_List(i, 1), Member_List(i, 2), ListIdx(group)});
    }
    out.push_back(std::move(t));
}

void 予定休み数(std::vector<保存表>& out)
{
    const Grid g = 表(kスケジュール, QStringLiteral("Member_DayOff"));
    保存表 t{QStringLiteral("T_Work_予定休み数"), {QStringLiteral("Id"), QStringLiteral("予定休み数")}, {}};
    for (int i = 1; i <= Member_Cnt; ++i)
        t.行.push_back({Member_List(i, 1), isEmptyCell(g(i, 1)) ? QVariant() : g(i, 1)});
    out.push_back(std::move(t));
}

void 休平日要人数(std::vector<保存表>& out)
{
    const xl::Range r = RangeS(k基本設定, QStringLiteral("最少必要人数"));
    const Grid g(r, k基本設定, QStringLiteral("最少必要人数"));
    保存表 t{QStringLiteral("T_休平日要人数"), {QStringLiteral("勤務種別"), QStringLiteral("平日人数"), QStringLiteral("休日人数")}, {}};
    for (int i = 1; i <= r.rowCount(); ++i)
        t.行.push_back({i, NullIfEmpty(g(i, 1)), NullIfEmpty(g(i, 2))});
    out.push_back(std::move(t));
}

// One block of combination rows and the numbers they are stored under: No = row + offset.
struct 組合せ区画 {
    const char* range;
    int first;
    int last;
    int offset;
};

void 組合せ条件(std::vector<保存表>& out)
{
    static const 組合せ区画 blocks[] = {
        {"組合せ禁止", 1, 5, 0}, {"組合せ禁止", 6, 15, 5}, {"組合せ必須", 1, 5, 5}, {"組合せ必須", 6, 15, 15}};
    保存表 head{QStringLiteral("T_Work_組み合せ条件"), {QStringLiteral("No"), QStringLiteral("勤務"), QStringLiteral("人数")}, {}};
    保存表 members{QStringLiteral("T_Work_組み合せ条件_Sub"), {QStringLiteral("No"), QStringLiteral("Id")}, {}};
    for (const 組合せ区画& b : blocks) {
        const Grid g = 表(k要員設定, QString::fromUtf8(b.range));
        for (int i = b.first; i <= b.last; ++i) {
            const int no = i + b.offset;
            // The count stands in column 3, as the condition reading takes it.
            const int shift = TypeIdxOrg(textOf(g(i, 1)));
            if (shift > 0)
                head.行.push_back({no, shift, cint(valOf(g(i, 3)))});
            else
                head.行.push_back({no, 0, 0});
            for (int k = 1; k <= 組合せメンバー列数; ++k) {
                const double id = valOf(g(i, 5 * (k - 1) + 4));
                if (id > 0)
                    members.行.push_back({no, id});
            }
        }
    }
    out.push_back(std::move(head));
    out.push_back(std::move(members));
}

void 組合せ条件_Group(std::vector<保存表>& out)
{
    static const 組合せ区画 blocks[] = {{"組合せ禁止_grp", 1, 5, 0},
                                         {"組合せ禁止_grp", 6, 15, 5},
                                         {"組合せ必須_grp", 1, 5, 5},
                                         {"組合せ必須_grp", 6, 15, 20}};
    保存表 t{QStringLiteral("T_Work_組み合せ条件_Group"),
             {QStringLiteral("No"), QStringLiteral("勤務"), QStringLiteral("人数"), QStringLiteral("グループ"),
              QStringLiteral("努力")},
             {}};
    for (const 組合せ区画& b : blocks) {
        const Grid g = 表(k要員設定, QString::fromUtf8(b.range));
        for (int i = b.first; i <= b.last; ++i) {
            const int no = i + b.offset;
            if (isEmptyCell(g(i, 1))) {
                t.行.push_back({no, 0, 0, 0, 0});
                continue;
            }
            QVariant group = g(i, 3);
            t.行.push_back({no, TypeIdxOrg(textOf(g(i, 1))), cint(valOf(g(i, 2))), ListIdx(group), 0});
        }
    }
    out.push_back(std::move(t));
}

void 要員(std::vector<保存表>& out)
{
    const Grid g = 表(k要員設定, QStringLiteral("Need_Table"));
    保存表 t{QStringLiteral("T_Work_要員"), {QStringLiteral("No"), QStringLiteral("日"), QStringLiteral("人数")}, {}};
    for (int s = 1; s <= Type_Cnt; ++s)
        for (int d = 1; d <= Day_Cnt; ++d)
            t.行.push_back({s, d, g(s, d)});
    out.push_back(std::move(t));
}

// The signs of the weekday list, as "101-1" for 1, 0, 2, -3.
QString 固定休()
{
    const xl::Range r = RangeS(k基本設定, QStringLiteral("休み_List"));
    const Grid g(r, k基本設定, QStringLiteral("休み_List"));
    QString text;
    for (int i = 1; i <= r.rowCount(); ++i) {
        const double v = num(g(i, 1));
        text += QString::number(v > 0 ? 1 : v < 0 ? -1 : 0);
    }
    return text;
}

void 基本設定(std::vector<保存表>& out)
{
    保存表 basic{QStringLiteral("T_基本設定"),
                 {QStringLiteral("平日勤務集中"), QStringLiteral("固定休"), QStringLiteral("連続勤務日数上限"),
                  QStringLiteral("連続休み日数上限"), QStringLiteral("勤務日数調整"), QStringLiteral("勤務時間調整"),
                  QStringLiteral("割当勤務"), QStringLiteral("勤務リスト"), QStringLiteral("休み記号"),
                  QStringLiteral("休み色"), QStringLiteral("基点曜日"), QStringLiteral("週間勤務日数上限"),
                  QStringLiteral("Excel_Highlight"), QStringLiteral("初期値使用"), QStringLiteral("過去累計使用"),
                  QStringLiteral("予約罫線色")},
                 {},
                 true};
    basic.行.push_back({値(k基本設定, QStringLiteral("平日勤務集中")), 固定休(),
                        値(k基本設定, QStringLiteral("連続勤務上限")), 値(k基本設定, QStringLiteral("連続休み上限")),
                        値(k基本設定, QStringLiteral("勤務日数調整")), 値(k基本設定, QStringLiteral("勤務時間調整")),
                        値(k基本設定, QStringLiteral("勤務指定")), 値(k基本設定, QStringLiteral("指定勤務")),
                        値(k基本設定, QStringLiteral("Yasumi_Kigou")), 値(k基本設定, QStringLiteral("Color_Yasumi")),
                        値(k基本設定, QStringLiteral("基点曜日")), 値(k基本設定, QStringLiteral("週間勤務日数上限")),
                        値(k基本設定, QStringLiteral("行列ハイライト")), 値(k人員配置表, QStringLiteral("初期値使用")),
                        値(k人員配置表, QStringLiteral("過去累計使用")), 値(k予約表, QStringLiteral("予約罫線色"))});
    保存表 settings{QStringLiteral("T_設定値"),
                    {QStringLiteral("自動最大化"), QStringLiteral("自動再挑戦"), QStringLiteral("過去参照スパン"),
                     QStringLiteral("経過表示"), QStringLiteral("進行状況表示")},
                    {}};
    settings.行.push_back({値(k基本設定, QStringLiteral("自動画面最大化")), 値(k基本設定, QStringLiteral("自動再挑戦")),
                           値(k基本設定, QStringLiteral("過去参照スパン")), 値(k基本設定, QStringLiteral("経過表示")),
                           値(k基本設定, QStringLiteral("進行状況表示"))});
    // One row with no field set.
    保存表 prime{QStringLiteral("T_PrimeData"), {}, {QVariantList{}}};
    out.push_back(std::move(basic));
    out.push_back(std::move(settings));
    out.push_back(std::move(prime));
}

// Per member and day, the cells of a day grid that are not empty.
保存表 日別表(const QString& table, const QString& sheet, const QString& rangeName, QVariant (*value)(const QVariant&))
{
    const Grid g = 表(sheet, rangeName);
    保存表 t{table, {QStringLiteral("ID"), QStringLiteral("日付"), QStringLiteral("勤務")}, {}};
    for (int i = 1; i <= Member_Cnt; ++i)
        for (int d = 1; d <= Day_Cnt; ++d)
            if (!isEmptyCell(g(i, d)))
                t.行.push_back({qlonglong(MemNo(i)), d, value(g(i, d))});
    return t;
}

void 勤務不可(std::vector<保存表>& out)
{
    out.push_back(日別表(QStringLiteral("T_Work_不可"), kスケジュール, QStringLiteral("Member_Scdl"),
                         [](const QVariant& v) { return QVariant(cint(valOf(v))); }));
}

void 予約(std::vector<保存表>& out)
{
    out.push_back(日別表(QStringLiteral("T_Work_予約"), k予約表, QStringLiteral("Member_Rsv"),
                         [](const QVariant& v) { return QVariant(TypeIdx(textOf(v))); }));
}

// A numeric holiday cell is kept as it is (an empty one stays empty); a text marks a holiday.
QVariant 休平日値(const QVariant& v)
{
    return isNumericCell(v) ? v : QVariant(9);
}

}  // namespace

const std::vector<収集手順>& 条件表収集手順()
{
    static const std::vector<収集手順> steps = {勤務種別, 翌日禁止, 禁止パターン, 必須パターン, グループ,
                                                名簿, 予定休み数, 休平日要人数, 組合せ条件, 組合せ条件_Group,
                                                要員, 基本設定, 勤務不可, 予約};
    return steps;
}

保存表 勤務表行(const 期間& period)
{
    const Grid grid(RangeB(k人員配置表, QStringLiteral("Time_Table")), k人員配置表, QStringLiteral("Time_Table"));
    const Grid holidays = 表(k人員配置表, QStringLiteral("休平日"));
    保存表 t{QStringLiteral("T_勤務表"),
             {QStringLiteral("Id"), QStringLiteral("日付"), QStringLiteral("勤務No"), QStringLiteral("休平日")},
             {}};
    for (int i = 1; i <= Member_Cnt; ++i)
        for (int d = 1; d <= Day_Cnt; ++d) {
            const int shift = TypeIdx(textOf(grid(i, d)));
            if (shift > 0)
                t.行.push_back({Member_List(i, 1), period.日付(d), shift, 休平日値(holidays(1, d))});
        }
    return t;
}
