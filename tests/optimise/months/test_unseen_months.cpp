// Whole generation runs with the optimiser on condition sets no sample has: random ones within the
// program's limits and the extremes. A run must end, accept only a table that keeps the rules (and
// shows it), and end any other way with the failure state and a message; the manual optimisers on
// the accepted month, read back from the sheet, keep the rules too.
#include "whole_run_fixture.h"

#include "env.h"
#include "engine/day_placement.h"
#include "engine/generation.h"
#include "engine/generation_driver.h"
#include "engine/model.h"
#include "optimise/runs.h"
#include "platform/os/clock.h"
#include "validator/validator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
#include <random>

namespace {

using Row = QStringList;
using Rows = std::vector<Row>;

const QStringList kNames = QStringLiteral("日勤,早番,遅番,準夜,深夜,半日,研修,会議,外来,出張").split(u',');
const QStringList kAbbrs = QStringLiteral("日,早,遅,準,深,半,研,会,外,出").split(u',');
const QStringList kGroups = QStringLiteral("リーダー,看護師,新人").split(u',');

// A condition set; every field a test leaves alone is drawn from the seed.
struct Month {
    int members = 10, types = 3, year = 2027, month = 1, periodStart = 1, startDay = 1;
    double load = 0.5;      // staff needed per day as a share of the members
    double reserved = 0.03; // share of cells reserved
    double barred = 0.05;   // share of cells with a personal exclusion
    bool extras = true;     // sequences, combinations, run and count limits
    Rows required;          // the required successions; drawn when empty
    Rows banned;            // the prohibited sequences; drawn when empty
    int weekly = -1;        // the weekly work-day limit; drawn when -1
    int runLimit = -1;      // the work-run limit; drawn when -1
    bool chainNeeds = false;  // the first required follower is needed only after its shift
    bool chainRules = false;  // records, reservations and last month's days around that chain
    // Conflicts of the fixed cells alone, on members 1..9 (needs 10 members, 3 types and a required
    // 早 -> 遅): a count limit, a broken chain, a split pair, a must nobody may meet, a pair whose
    // partner's follower is reserved otherwise, and a follower excluded on its day.
    bool planted = false;
    Rows lastDays;          // last month's final ten days per member, the last day last
    std::mt19937 rng;
    explicit Month(unsigned seed) : rng(seed) {}
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; }
    QString abbr() { return kAbbrs[pick(0, types - 1)]; }
    QString number(int m) const { return QString::number(1001 + m); }
};

class CondText {
public:
    void put(const QString& sheet, const QString& name, const Rows& rows)
    {
        qsizetype width = 0;
        for (const Row& r : rows)
            width = std::max(width, r.size());
        lines_ << QStringLiteral("RANGE,%1,%2,%3,%4").arg(sheet, name).arg(rows.size()).arg(width);
        for (Row r : rows) {
            r.resize(width);
            lines_ << r.join(u',');  // no field holds a comma or a quote
        }
    }
    void put(const QString& sheet, const QString& name, const QString& v) { put(sheet, name, Rows{Row{v}}); }
    QByteArray bytes() const { return (lines_.join(QStringLiteral("\r\n")) + QStringLiteral("\r\nEND\r\n")).toUtf8(); }

private:
    QStringList lines_{QStringLiteral("QVCOND,1"), QStringLiteral("SAVED,2027-01-01T00:00:00")};
};

QString n(int v) { return QString::number(v); }
QString flag(bool b) { return b ? QStringLiteral("TRUE") : QStringLiteral("FALSE"); }

void putSettings(CondText& f, Month& c)
{
    const QString main = QStringLiteral("Main"), basic = QStringLiteral("基本設定");
    for (auto [name, v] : {std::pair{"年", c.year}, {"月", c.month}, {"日", c.startDay}, {"基準開始日", c.periodStart},
                           {"制限時間", 1}, {"試行回数", 10}, {"Sw_確保優先", c.pick(1, 2)}})
        f.put(main, QString::fromUtf8(name), n(v));
    f.put(main, QStringLiteral("バックグラウンド動作"), flag(c.chance(0.5)));
    f.put(main, QStringLiteral("ベストシフト作成"), flag(false));
    const bool x = c.extras;
    const int runLimit = x ? c.pick(0, 6) : 0;
    f.put(basic, QStringLiteral("連続勤務上限"), n(c.runLimit >= 0 ? c.runLimit : runLimit));
    f.put(basic, QStringLiteral("連続休み上限"), n(x && c.chance(0.5) ? c.pick(2, 5) : 0));
    f.put(basic, QStringLiteral("基点曜日"), n(c.pick(0, 7)));
    const int weekly = x && c.chance(0.5) ? c.pick(3, 6) : 0;
    f.put(basic, QStringLiteral("週間勤務日数上限"), n(c.weekly >= 0 ? c.weekly : weekly));
    for (const char* sw : {"勤務日数調整", "勤務時間調整", "勤務集中", "平日勤務集中", "休日対象外"})
        f.put(basic, QString::fromUtf8(sw), flag(c.chance(0.4)));
    f.put(basic, QStringLiteral("勤務指定"), flag(false));
    f.put(basic, QStringLiteral("自動再挑戦"), flag(false));  // one attempt per run
    f.put(basic, QStringLiteral("Yasumi_Kigou"), QStringLiteral("休"));
    for (const char* zero : {"Color_Yasumi", "経過表示", "進行状況表示"})
        f.put(basic, QString::fromUtf8(zero), QStringLiteral("0"));
    f.put(basic, QStringLiteral("過去参照スパン"), QStringLiteral("3"));
    f.put(basic, QStringLiteral("最適化比重"), Rows{Row(12, QStringLiteral("1"))});
    f.put(basic, QStringLiteral("休み_List"), Rows(7, Row{QStringLiteral("0")}));
    f.put(basic, QStringLiteral("職制_Ex"), Rows{{kGroups[0]}, {kGroups[1]}, {kGroups[2]}});
}

void putShiftTypes(CondText& f, Month& c)
{
    const QString basic = QStringLiteral("基本設定");
    Rows input, count, least, next(size_t(c.types), Row(c.types)), banned;
    for (int t = 0; t < c.types; ++t) {
        const int start = c.pick(0, 23);
        input.push_back({kNames[t], kAbbrs[t], QStringLiteral("%1:00:00").arg(start, 2, 10, QLatin1Char('0')),
                         flag(start >= 16), QString(), QStringLiteral("%1:00:00").arg((start + 8) % 24, 2, 10, QLatin1Char('0')),
                         QStringLiteral("8"), c.extras && c.chance(0.2) ? n(c.pick(1, 3)) : QString(), n(35 + t)});
        count.push_back({c.extras && c.chance(0.2) ? n(c.pick(1, 8)) : QString()});
        least.push_back({n(c.pick(0, 2)), n(c.pick(0, 1))});
        for (int u = 0; c.extras && u < c.types; ++u)
            if (c.chance(0.15))
                next[size_t(t)][u] = QStringLiteral("×");
    }
    for (int k = c.extras ? c.pick(0, 2) : 0; k > 0; --k)
        banned.push_back({c.abbr(), c.abbr(), c.chance(0.5) ? c.abbr() : QString()});
    if (!c.banned.empty())
        banned = c.banned;
    Rows required = c.required;
    if (required.empty() && c.extras && c.types > 1 && c.chance(0.3)) {
        const int first = c.pick(0, c.types - 1), next = (first + c.pick(1, c.types - 1)) % c.types;
        required.push_back({kAbbrs[first], kAbbrs[next]});
    }
    if (c.planted) {
        // Nothing else the planted cells could break first: no intervals, no next-day bans.
        for (Row& r : input)
            r[7] = QString();
        next.assign(next.size(), Row(c.types));
        count[2] = {QStringLiteral("8")};
    }
    f.put(basic, QStringLiteral("Type_Table_Input"), input);
    f.put(basic, QStringLiteral("Type_Count"), count);
    f.put(basic, QStringLiteral("最少必要人数"), least);
    f.put(basic, QStringLiteral("翌日禁止"), next);
    f.put(basic, QStringLiteral("禁止パターン"), banned);
    f.put(basic, QStringLiteral("必須パターン"), required);
}

// Members, their exclusions, rest-day targets and hours, the reservations and the needs.
void putPeople(CondText& f, Month& c)
{
    const QString sched = QStringLiteral("スケジュール");
    Rows list, barred, dayOff, hours, rsv, need(size_t(c.types), Row(31, QStringLiteral("0")));
    for (int m = 0; m < c.members; ++m) {
        list.push_back({c.number(m), QStringLiteral("職員%1").arg(m + 1), kGroups[c.pick(0, 2)]});
        Row b, r;
        for (int d = 0; d < 31; ++d) {
            b << (c.chance(c.barred) ? (c.chance(0.3) ? QStringLiteral("×") : c.abbr()) : QString());
            r << (c.chance(c.reserved) ? (c.chance(0.3) ? QStringLiteral("休") : c.abbr()) : QString());
        }
        barred.push_back(b);
        rsv.push_back(r);
        dayOff.push_back({c.chance(0.9) ? n(c.pick(4, 12)) : QString()});
        hours.push_back({c.chance(0.5) ? n(c.pick(100, 200)) : QString()});
    }
    for (int d = 0; d < 31; ++d)
        for (int k = int(c.load * c.members * c.pick(50, 150) / 100); k > 0; --k) {
            QString& v = need[size_t(c.pick(0, c.types - 1))][d];
            v = n(v.toInt() + 1);
        }
    if (c.chainRules) {
        const QString start = c.required[0][0], next = c.required[0][1];
        const int days = QDate(c.year, c.month, 1).daysInMonth();
        for (int k = c.pick(0, 1) * c.pick(1, 3); k > 0; --k) {
            Row& r = rsv[size_t(c.pick(0, c.members - 1))];
            const int d = c.pick(0, days - 1);
            r[d] = start;
            if (c.chance(0.3) && d + 1 < days)
                r[d + 1] = next;
            const int beside = c.chance(0.5) ? d - 1 : d + 2;
            if (beside >= 0 && beside < days)
                r[beside] = c.chance(0.3) ? QStringLiteral("休") : c.abbr();
        }
        if (c.chance(0.3))
            rsv[size_t(c.pick(0, c.members - 1))][days - 1] = start;
    }
    if (c.planted) {
        for (int m = 0; m < 9; ++m)
            rsv[size_t(m)] = barred[size_t(m)] = Row(31);
        for (int d = 0; d < 17; d += 2)
            rsv[0][d] = kAbbrs[2];  // nine 遅 where eight is the limit
        rsv[1][7] = kAbbrs[1];  // 早 on the 8th, 日 instead of its 遅 on the 9th
        rsv[1][8] = kAbbrs[0];
        rsv[2][11] = kAbbrs[1];  // the pair on 早 split on the 12th
        rsv[3][11] = kAbbrs[0];
        for (int m = 4; m < 8; ++m)
            barred[size_t(m)][14] = kAbbrs[0];  // the must on 日 on the 15th
        rsv[2][19] = kAbbrs[1];  // the pair on 早 on the 20th, the partner's 遅 not on the 21st
        rsv[3][20] = kAbbrs[0];
        rsv[8][20] = kAbbrs[1];  // 早 on the 21st, its 遅 excluded on the 22nd
        barred[8][21] = QStringLiteral("×");
        if (need[0][14] == QStringLiteral("0"))
            need[0][14] = QStringLiteral("1");
    }
    if (c.chainNeeds) {
        const auto first = size_t(kAbbrs.indexOf(c.required[0][0])), next = size_t(kAbbrs.indexOf(c.required[0][1]));
        for (int d = 30; d >= 1; --d)
            need[next][d] = need[first][d - 1];
        need[next][0] = QStringLiteral("0");
    }
    f.put(sched, QStringLiteral("予定休み区分"), QStringLiteral("0"));
    f.put(sched, QStringLiteral("全不可罫線色"), QStringLiteral("5"));
    f.put(sched, QStringLiteral("Member_List"), list);
    f.put(sched, QStringLiteral("勤務不可"), barred);
    f.put(sched, QStringLiteral("Member_DayOff"), dayOff);
    f.put(sched, QStringLiteral("Member_Time"), hours);
    f.put(QStringLiteral("要員設定"), QStringLiteral("Need_Table"), need);
    f.put(QStringLiteral("予約表"), QStringLiteral("予約罫線色"), QStringLiteral("3"));
    f.put(QStringLiteral("予約表"), QStringLiteral("Member_Rsv"), rsv);
}

void putCombinations(CondText& f, Month& c)
{
    auto members = [&c](const QString& shift, int count) {
        Row r{shift, n(count), QString()};
        for (int k = c.pick(2, std::min(4, c.members)); k > 0; --k) {
            const QString who = c.number(c.pick(0, c.members - 1));
            // A member listed twice counts twice for one check and once for another: the chain
            // months leave that case out.
            if (!c.chainNeeds || !r.contains(who))
                r << who << QString() << QString() << QString() << QString();
        }
        return r;
    };
    const bool x = c.extras && c.members >= 2;
    Rows ban, must, banGrp, mustGrp;
    for (int k = x ? c.pick(0, 2) : 0; k > 0; --k)
        ban.push_back(members(kNames[c.pick(0, c.types - 1)], 2));
    if (x && c.chance(0.3))
        must.push_back(members(kNames[c.pick(0, c.types - 1)], 1));
    if (x && c.chance(0.4))
        banGrp.push_back({kNames[c.pick(0, c.types - 1)], QStringLiteral("2"), kGroups[2]});
    if (x && c.chance(0.3))
        mustGrp.push_back({kNames[c.pick(0, c.types - 1)], QStringLiteral("1"), kGroups[0]});
    if (c.chainRules) {
        const QString start = kNames[kAbbrs.indexOf(c.required[0][0])], next = kNames[kAbbrs.indexOf(c.required[0][1])];
        auto two = [&c](const QString& shift) {
            const int a = c.pick(0, c.members - 1), b = (a + c.pick(1, c.members - 1)) % c.members;
            return Row{shift, QStringLiteral("2"), QString(), c.number(a), {}, {}, {}, {}, c.number(b), {}, {}, {}, {}};
        };
        // Pair records: the two work the chain's first shift together, or its follower.
        if (c.chance(0.5))
            must.push_back(two(start));
        if (c.chance(0.5))
            must.push_back(two(next));
        if (c.required.size() > 1)
            must.push_back(two(kNames[kAbbrs.indexOf(c.required[1][1])]));
        if (c.chance(0.5))
            ban.push_back(two(next));
        if (c.chance(0.15))
            must.push_back(members(next, 1));
    }
    if (c.planted) {
        must.push_back({kNames[1], QStringLiteral("2"), QString(), c.number(2), {}, {}, {}, {}, c.number(3), {}, {}, {}, {}});
        Row four{kNames[0], QStringLiteral("1"), QString()};
        for (int m = 4; m < 8; ++m)
            four << c.number(m) << QString() << QString() << QString() << QString();
        must.push_back(four);
    }
    const QString need = QStringLiteral("要員設定");
    f.put(need, QStringLiteral("組合せ禁止"), ban);
    f.put(need, QStringLiteral("組合せ必須"), must);
    f.put(need, QStringLiteral("組合せ禁止_grp"), banGrp);
    f.put(need, QStringLiteral("組合せ必須_grp"), mustGrp);
    f.put(QStringLiteral("人員配置表"), QStringLiteral("初期値使用"), flag(!c.lastDays.empty()));
    if (!c.lastDays.empty()) {
        Rows past{Row(10, QStringLiteral("前月")), Row(10)};
        past.insert(past.end(), c.lastDays.begin(), c.lastDays.end());
        f.put(QStringLiteral("人員配置表"), QStringLiteral("先月_月"), n(c.month == 1 ? 12 : c.month - 1));
        f.put(QStringLiteral("人員配置表"), QStringLiteral("先月_結果"), past);
    }
    f.put(QStringLiteral("人員配置表"), QStringLiteral("過去累計使用"), flag(false));
}

QByteArray conditionText(Month& c)
{
    CondText f;
    putSettings(f, c);
    putShiftTypes(f, c);
    putPeople(f, c);
    putCombinations(f, c);
    return f.bytes();
}

class UnseenMonths : public WholeRunTest<> {
protected:
    // One run of the month's conditions; true when it accepted a table.
    bool run(Month& c, unsigned seed, const std::string& label);
    // The same for a condition file; limit in minutes, background forces background mode.
    bool runFile(const QString& path, unsigned seed, const std::string& label, float limit = 1, bool background = false);
};

// The run's clock counts attempts, one second each, so a limit of N seconds allows N attempts
// whatever the speed of the machine; waits pass at once and take no time.
class AttemptClock final : public os::Clock {
public:
    AttemptClock() { os::setClock(this); }
    ~AttemptClock() override { os::setClock(nullptr); }
    AttemptClock(const AttemptClock&) = delete;
    AttemptClock& operator=(const AttemptClock&) = delete;
    QDateTime now() const override { return QDateTime(QDate(2027, 1, 15), QTime(9, 0)).addMSecs(elapsedMs()); }
    qint64 elapsedMs() const override { return qint64(generationTiming.attempts) * 1000; }
    void sleepMs(qint64) override {}
};

// A pattern with a rest day in it matches the empty cells of an unfinished table, which the run
// may still fill.
bool patternHasRest(int p)
{
    for (int i = 1; i <= Kinsi_Pattern(p, 0); ++i)
        if (Kinsi_Pattern(p, i) == 0)
            return true;
    return false;
}

bool excludedFrom(int m, int d, int t)
{
    return t >= 1 && t <= 30 && (Member_Scdl(m, d) & (1 << (t - 1))) != 0;
}

// A must record the fixed cells alone keep short on day d: its members holding the shift there,
// and those still open and not excluded from it (no more than the need leaves room for), are too
// few. Reading only the fixed cells.
bool mustOutOfReach(const 組合せ記録& rec, int d)
{
    const int t = rec.勤務;
    const auto room = [d](int s) {
        int held = 0;
        for (int x = 1; x <= Member_Cnt; ++x)
            held += Rsv_Table(x, d) == s;
        return Need_Table(s, d) - held;
    };
    int have = 0, open = 0, space = 0;
    for (int s = 1; s <= Type_Cnt; ++s)
        if (t == kAllShifts || s == t)
            space += std::max(0, room(s));
    for (int i = 1; i <= rec.メンバー[0]; ++i) {
        const int x = rec.メンバー[i] > 0 ? rec.memberIndex[i] : 0;
        if (x < 1 || x > Member_Cnt)
            continue;
        const int v = Rsv_Table(x, d);
        if (v != 0) {
            have += t == kAllShifts || v == t;
            continue;
        }
        bool can = false;
        for (int s = 1; s <= Type_Cnt && !can; ++s)
            can = (t == kAllShifts || s == t) && !excludedFrom(x, d, s) && (t != kAllShifts || room(s) > 0);
        open += can;
    }
    return have + std::min(open, space) < rec.人数;
}

// Shift t on member m's day d starts a chain of followers, one a day, that the reservations or
// the exclusions keep from one of its days.
bool followerBarred(int m, int d, int t)
{
    for (int day = d + 1, cur = t; day <= Day_Cnt && day <= d + 20; ++day) {
        int next = 0;
        for (int i = 1; i <= Hissu_Pattern_Cnt && next == 0; ++i)
            if (Hissu_Pattern(i, 1) == cur)
                next = Hissu_Pattern(i, 2);
        if (next < 1 || next > Type_Cnt)
            return false;
        if ((Rsv_Table(m, day) != 0 && Rsv_Table(m, day) != next) || excludedFrom(m, day, next))
            return true;
        cur = next;
    }
    return false;
}

// A pair on its shift that the fixed cells split: one member holds it, the other holds something
// else there, is excluded from it or from the follower it asks for.
bool pairSplitByFixedCells(const 組合せ記録& rec, int d)
{
    const int x = rec.memberIndex[1], y = rec.memberIndex[2], t = rec.勤務;
    const auto away = [d, t](int m) {
        return Rsv_Table(m, d) != 0 ? Rsv_Table(m, d) != t : excludedFrom(m, d, t) || followerBarred(m, d, t);
    };
    return (Rsv_Table(x, d) == t && away(y)) || (Rsv_Table(y, d) == t && away(x));
}

// What the fixed cells break by themselves: the reservations, last month's days, and the
// followers their required sequences carry over, which every run lays. Only rules that the cells the run
// chooses cannot mend count; a shortfall, a missing must or follower the run can still fill does
// not.
std::vector<validator::Violation> fixedCellBreaks()
{
    for (int d = std::max(Start_Day, Sw_初期値使用 ? 1 : 2); d <= Day_Cnt; ++d)
        for (int m = 1; m <= Member_Cnt; ++m) {
            const int prev = Time_Table(m, d - 1);
            for (int i = 1; prev > 0 && Rsv_Table(m, d) == 0 && i <= Hissu_Pattern_Cnt; ++i)
                if (Hissu_Pattern(i, 1) == prev && Hissu_Pattern(i, 2) > 0) {
                    if (Hissu_Pattern(i, 2) <= Type_Cnt)
                        Time_Table(m, d) = Rsv_Table(m, d) = Hissu_Pattern(i, 2);
                    break;
                }
        }
    auto fixed = validator::check();
    std::erase_if(fixed, [](const validator::Violation& v) {
        switch (v.rule) {
        case validator::Rule::Understaffed:
            return true;
        case validator::Rule::組合せ必須:
            return !mustOutOfReach(Mem_Hissu(v.member), v.day);
        case validator::Rule::必須パターン:
            return Rsv_Table(v.member, v.day) == 0;
        case validator::Rule::PairRecord:
            return !pairSplitByFixedCells(Mem_Hissu(v.member), v.day);
        case validator::Rule::禁止パターン:
            return patternHasRest(v.shift);
        default:
            return false;
        }
    });
    return fixed;
}

// A member listed twice counts twice for the validator's ban and once for the run's.
bool listsAMemberTwice(const 組合せ記録& rec)
{
    for (int i = 1; i <= rec.メンバー[0]; ++i)
        for (int j = i + 1; j <= rec.メンバー[0]; ++j)
            if (rec.メンバー[size_t(i)] > 0 && rec.メンバー[size_t(i)] == rec.メンバー[size_t(j)])
                return true;
    return false;
}

// The validator's break is one the run named as the fixed cells' own: a conflict of the same rule
// for the same member (or record) on the break's day, or on a day of the run, week or pattern the
// break spans.
bool namedByRun(const validator::Violation& v)
{
    using validator::Rule;
    using R = RefusalReason;
    const auto named = [](R rule, int m, int from, int to) {
        return std::any_of(fixedConflicts.begin(), fixedConflicts.end(), [=](const FixedConflict& c) {
            return c.record == 0 && c.rule == rule && c.m == m && c.d >= from && c.d <= to;
        });
    };
    switch (v.rule) {
    case Rule::MemberSchedule: return named(R::個人不可条件と一致, v.member, v.day, v.day);
    // A follower is named where it lies, which may be the day before the banned day.
    case Rule::NextDayBan: return named(R::連続勤務条件不可, v.member, v.day - 1, v.day);
    case Rule::必須パターン: return named(R::必須パターンエラー, v.member, v.day, v.day);
    // A pattern named from a cell up to four days before is not named again.
    case Rule::禁止パターン: return named(R::禁止パターン, v.member, v.day - 4, v.day + Kinsi_Pattern(v.shift, 0) - 1);
    case Rule::WorkRun: {
        int first = v.day;
        while (first > 1 && Time_Table(v.member, first - 1) >= 1)
            --first;
        return named(R::連続勤務日数オーバー, v.member, first, v.day);
    }
    case Rule::週間勤務日数: return named(R::週間勤務日数不可, v.member, v.day, v.day + 6);
    case Rule::ShiftSpacing: return named(R::最少勤務間隔, v.member, v.day, v.day);
    case Rule::勤務回数:
        return std::any_of(fixedConflicts.begin(), fixedConflicts.end(), [&v](const FixedConflict& c) {
            return c.rule == R::勤務回数オーバー && c.m == v.member && c.shift == v.shift;
        });
    case Rule::組合せ禁止:
        return listsAMemberTwice(Mem_Kinsi(v.member))
            || std::any_of(fixedConflicts.begin(), fixedConflicts.end(), [&v](const FixedConflict& c) {
            return c.rule == R::組み合わせ禁止 && c.d == v.day;
        });
    case Rule::組合せ必須:
    case Rule::PairRecord:
        return std::any_of(fixedConflicts.begin(), fixedConflicts.end(), [&v](const FixedConflict& c) {
            return c.record == v.member && c.d == v.day;
        });
    default: return false;
    }
}

// The accepted table keeps every rule but those the program only strives for (a shift may be
// staffed beyond its need, a rest run may stay too long, the hours adjustment may pass the
// work-day target) and those the fixed cells break by themselves, and the sheet shows it.
void expectKeptRules(const std::vector<validator::Violation>& fixed, const std::string& label, bool onSheet = true)
{
    auto broken = validator::check();
    std::erase_if(broken, [](const auto& v) {
        return v.rule == validator::Rule::Overstaffed || v.rule == validator::Rule::RestRun
            || (v.rule == validator::Rule::WorkDays && Sw_勤務時間調整);
    });
    // Nothing is broken that the run has not named.
    auto unnamed = broken;
    std::erase_if(unnamed, namedByRun);
    EXPECT_TRUE(unnamed.empty()) << label << " unnamed\n" << validator::describe(unnamed).toStdString()
                                 << fixedConflictLines().toStdString();
    std::erase_if(broken, [&fixed](const auto& v) { return std::find(fixed.begin(), fixed.end(), v) != fixed.end(); });
    EXPECT_TRUE(broken.empty()) << label << "\n" << validator::describe(broken).toStdString();
    if (!onSheet)
        return;
    const xl::Block b = xlBook->worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_Table")).block();
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = 1; d <= Day_Cnt; ++d) {
            const int t = Time_Table(m, d);
            ASSERT_EQ(XlText(b(m, d)), t > 0 ? Type_Table(t, TYPE_略称) : Yasumi_Kigou) << label << " " << m << "/" << d;
        }
}

bool UnseenMonths::run(Month& c, unsigned seed, const std::string& label)
{
    const QString path = dir.filePath(QStringLiteral("条件.csv"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(conditionText(c)) > 0);
    file.close();
    return runFile(path, seed, label);
}

bool UnseenMonths::runFile(const QString& path, unsigned seed, const std::string& label, float limit, bool background)
{
    const condition_file::Status st = openSampleBook(path);
    EXPECT_TRUE(st.ok) << label << ": " << st.error.toStdString();
    if (!st.ok)
        return false;
    std::vector<validator::Violation> fixed;
    if (全条件読込(-1) >= 0)
        fixed = fixedCellBreaks();
    AttemptClock clock;
    LimitTime = limit;
    if (background)
        xlBook->worksheets(QStringLiteral("Main")).range(QStringLiteral("バックグラウンド動作")).setValue(true);
    ui::resetMessages();
    EXPECT_NO_THROW(cmd開始_Click({seed})) << label;
    const QStringList titles = shownTitles();
    if (作成状態 != 1) {
        EXPECT_FALSE(titles.contains(QStringLiteral("作成完了"))) << label;
        EXPECT_TRUE(確保完了 || !titles.isEmpty()) << label << ": a failed month without a message";
        return false;
    }
    EXPECT_TRUE(確保完了) << label;
    EXPECT_TRUE(titles.contains(QStringLiteral("作成完了"))) << label;
    expectKeptRules(fixed, label);
    // Another optimiser run keeps the table within the rules.
    EXPECT_NO_THROW(optimiserSteps.最適化実行(3, Day_Cnt, 0)) << label;
    expectKeptRules(fixed, label + " after another optimiser run", false);
    // So do the manual optimisers, each on the month read back from the sheet as after a restart.
    const std::pair<const char*, std::function<void()>> manual[] = {
        {"ランダム入替", [] { ランダム入替(2); }},
        {"最適化_勤務交換", [] { 最適化_勤務交換(2); }},
        {"最適化_休み交換", [] { Sw_中止 = false; 最適化_休み交換(1); }},
    };
    for (const auto& [name, optimise] : manual) {
        EXPECT_NO_THROW(optimise()) << label << " " << name;
        expectKeptRules(fixed, label + " after " + name);
    }
    return true;
}

}  // namespace

// The extremes of the program's limits, each as its own month.
TEST_F(UnseenMonths, Extremes)
{
    struct Case {
        const char* label;
        std::function<void(Month&)> set;
    };
    const Case cases[] = {
        {"one shift type", [](Month& c) { c.types = 1; c.members = 3; }},
        {"nothing needed", [](Month& c) { c.load = 0; }},
        {"every cell reserved", [](Month& c) { c.reserved = 1; c.barred = 0; }},
        {"every cell excluded", [](Month& c) { c.barred = 1; c.reserved = 0; }},
        {"50 members, 31 days, 10 shift types", [](Month& c) { c.members = 50; c.types = 10; c.month = 3; c.load = 0.6; }},
        {"February of a common year", [](Month& c) { c.year = 2027; c.month = 2; }},
        {"period from the 16th, started on the 25th", [](Month& c) { c.periodStart = 16; c.startDay = 25; }},
        {"period from the 20th, started in the next month", [](Month& c) { c.periodStart = 20; c.startDay = 5; }},
        {"no optional rules", [](Month& c) { c.extras = false; c.members = 2; c.types = 2; }},
    };
    for (const Case& k : cases) {
        Month c(7);
        k.set(c);
        run(c, 7, k.label);
    }
    Month one(7);
    one.members = 1;
    EXPECT_FALSE(run(one, 7, "one member"));
    EXPECT_TRUE(shownTitles().contains(QStringLiteral("条件データ不足")));
    // A follower leading back to its shift was carried over to the month's end past every rule.
    for (const Rows& cycle : {Rows{{"日", "日"}}, Rows{{"早", "遅"}, {"遅", "早"}}}) {
        Month c(30);
        c.types = 3;
        c.required = cycle;
        EXPECT_FALSE(run(c, 30, "required cycle"));
        EXPECT_TRUE(shownTitles().contains(QStringLiteral("入力エラー")));
    }
}

// Random months within the limits, some impossible to staff: enough of them are accepted for the
// checks of an accepted table to mean something.
TEST_F(UnseenMonths, RandomMonths)
{
    int accepted = 0;
    constexpr unsigned kMonths = 24;
    for (unsigned seed = 1; seed <= kMonths; ++seed) {
        Month c(seed);
        c.members = c.chance(0.1) ? c.pick(1, 3) : c.pick(2, 50);
        c.types = c.pick(1, 10);
        c.year = c.pick(2020, 2035);
        c.month = c.pick(1, 12);
        c.periodStart = c.chance(0.3) ? c.pick(2, 28) : 1;
        c.startDay = c.chance(0.3) ? QDate(c.year, c.month, c.periodStart).addDays(c.pick(0, 27)).day() : c.periodStart;
        c.load = c.pick(0, 80) / 100.0;
        c.reserved = c.pick(0, 8) / 100.0;
        c.barred = c.pick(0, 6) / 100.0;
        accepted += run(c, seed, "random month " + std::to_string(seed));
    }
    EXPECT_GE(accepted, int(kMonths) / 5);
}

// Months with required 夜 -> 明, prohibited patterns around it and a weekly limit: the rules a
// chain's follow-up day or a resting member could break unseen.
TEST_F(UnseenMonths, ChainMonths)
{
    int accepted = 0;
    constexpr unsigned kMonths = 12;
    for (unsigned seed = 101; seed < 101 + kMonths; ++seed) {
        Month c(seed);
        c.members = c.pick(8, 20);
        c.types = 3;  // 日, 早 and 遅 play 日, 夜 and 明
        c.load = c.pick(15, 35) / 100.0;
        c.reserved = c.pick(1, 3) / 100.0;
        c.chainNeeds = true;
        c.required = {{QStringLiteral("早"), QStringLiteral("遅")}};
        c.banned = {{QStringLiteral("-"), QStringLiteral("遅")}, {QStringLiteral("遅"), QStringLiteral("*")},
                    {QStringLiteral("早"), QStringLiteral("遅"), QStringLiteral("-"), QStringLiteral("早")}};
        c.weekly = c.pick(3, 5);
        accepted += run(c, seed, "chain month " + std::to_string(seed));
    }
    EXPECT_GE(accepted, 1);
}

// Chain months that also draw what lies around a chain: a pair record on its first shift, a ban
// and a must on its follower, reservations beside it and on the month's last day, last month's
// days ending in the chain's first shift or in a long run, and small run limits.
TEST_F(UnseenMonths, ChainRuleMonths)
{
    int accepted = 0;
    constexpr unsigned kMonths = 48;
    for (unsigned seed = 201; seed < 201 + kMonths; ++seed) {
        Month c(seed);
        c.members = c.pick(8, 16);
        c.types = 3;
        c.load = c.pick(10, 30) / 100.0;
        c.reserved = c.pick(0, 2) / 100.0;
        c.barred = 0.02;
        c.chainNeeds = c.chainRules = true;
        c.required = {{QStringLiteral("早"), QStringLiteral("遅")}};
        c.banned = {{QStringLiteral("遅"), QStringLiteral("*")}};
        c.runLimit = c.pick(2, 4);
        c.weekly = 0;
        if (c.chance(0.4))
            for (int m = 0; m < c.members; ++m) {
                Row days;
                for (int k = 0; k < 10; ++k)
                    days << (c.chance(0.4) ? QStringLiteral("休") : QStringLiteral("日"));
                if (c.chance(0.2))
                    days[9] = QStringLiteral("早");
                else if (c.chance(0.3))
                    for (int k = 9 - c.pick(1, c.runLimit); k < 10; ++k)
                        days[k] = QStringLiteral("日");
                c.lastDays.push_back(days);
            }
        accepted += run(c, seed, "chain rule month " + std::to_string(seed));
    }
    EXPECT_GE(accepted, 1);
}

// Months holding one conflict of each kind the fixed cells make alone: reservations over a count
// limit, a reserved day breaking a reserved chain, a pair split by a reservation or through the
// partner's follower, a must whose members are all excluded, a follower excluded on its day beside
// a run limit. None fails a try: the month is built around them and names each, and breaks nothing
// else.
TEST_F(UnseenMonths, PlantedConflicts)
{
    int accepted = 0;
    constexpr unsigned kMonths = 8;
    for (unsigned seed = 301; seed < 301 + kMonths; ++seed) {
        Month c(seed);
        c.members = c.pick(10, 14);
        c.types = 3;
        c.extras = false;  // nothing drawn that could keep the month from being staffed
        c.load = c.pick(10, 20) / 100.0;
        c.reserved = 0.01;
        c.barred = 0.02;
        c.planted = true;
        c.required = {{QStringLiteral("早"), QStringLiteral("遅")}};
        c.banned = {{QStringLiteral("遅"), QStringLiteral("*")}};
        c.weekly = 0;
        c.runLimit = 3;
        const std::string label = "planted conflicts " + std::to_string(seed);
        if (!run(c, seed, label))
            continue;
        ++accepted;
        QString end;
        for (const ui::MessageRequest& m : ui::shownMessages())
            if (m.title == QStringLiteral("作成完了"))
                end = m.prompt;
        for (const char* named : {"1001 職員1 01/17 遅：勤務回数オーバー", "1002 職員2 01/09 日：必須パターンエラー",
                                  "1003 職員3・1004 職員4 01/12 早：メンバー組合せ必須エラー",
                                  "1005 職員5・1006 職員6・1007 職員7・1008 職員8 01/15 日：組合せ必須メンバー該当者無し",
                                  "1003 職員3・1004 職員4 01/20 早：メンバー組合せ必須エラー", "1009 職員9 01/22 遅：個人不可条件と一致"})
            EXPECT_EQ(end.count(QString::fromUtf8(named)), 1) << label << " " << named << "\n" << end.toStdString();
    }
    EXPECT_GE(accepted, int(kMonths) / 2);
}

// The hard months kept with the tests: each run ends, an accepted table keeps the rules, a failed
// run says why. The limit is a count of the program's clock readings (one at every try at
// least), not of real time.
TEST_F(UnseenMonths, HardMonths)
{
    const QDir months(testenv::dataPath(QStringLiteral("months")));
    const QStringList files = months.entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 5);
    for (const QString& f : files)
        runFile(months.filePath(f), 1, f.toStdString(), 3 / 60.0f, true);  // three attempts
}

// Chain months with the three-day chain 早 -> 遅 -> 準 and pair records on its shifts, always one on
// its last: a pair on a chain's later shift stays together on every accepted table.
TEST_F(UnseenMonths, ThreeDayChainMonths)
{
    int accepted = 0;
    constexpr unsigned kMonths = 30;
    for (unsigned seed = 401; seed < 401 + kMonths; ++seed) {
        Month c(seed);
        c.members = c.pick(10, 16);
        c.types = 4;
        c.load = c.pick(10, 25) / 100.0;
        c.reserved = c.pick(0, 2) / 100.0;
        c.barred = 0.02;
        c.chainNeeds = c.chainRules = true;
        c.required = {{QStringLiteral("早"), QStringLiteral("遅")}, {QStringLiteral("遅"), QStringLiteral("準")}};
        c.banned = {{QStringLiteral("準"), QStringLiteral("*")}};
        c.runLimit = c.pick(3, 5);
        c.weekly = 0;
        accepted += run(c, seed, "three-day chain month " + std::to_string(seed));
    }
    EXPECT_GE(accepted, 1);
}
