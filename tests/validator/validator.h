#pragma once
// An independent whole-table check: given the condition model and a finished Time_Table, it lists
// every broken rule. It reads only the model's data and counts everything itself, so tests can
// hold the engine's checks against it.
#include <QString>
#include <vector>

namespace validator {

enum class Rule {
    Understaffed,   // fewer members on a shift than Need_Table asks
    Overstaffed,   // more members on a shift than Need_Table asks
    MemberSchedule,       // Member_Scdl forbids the shift
    NextDayBan,       // DayBefore_Table forbids the shift after the previous day's
    禁止パターン,   // a prohibited sequence (shift = pattern row, day = its first day)
    必須パターン,   // a required successor missing (day = the day that should hold it)
    WorkRun,       // work run longer than 連続勤務上限 (day = the run's last day)
    RestRun,       // rest run longer than 連続休み上限 (day = the run's last day)
    週間勤務日数,   // more work days in a week than 週間勤務日数上限 (day = the week's first day)
    勤務回数,       // more of a shift than Type_Count (day 0)
    ShiftSpacing,       // two of the same shift closer than Type_Span (day = the later one)
    組合せ禁止,     // a ban record reached its number (member = record)
    組合せ必須,     // a must record short of its number (member = record)
    PairRecord,     // one of a two-member pair record on the shift without the other (member = record)
    Reservation,           // a reserved cell holds another shift
    WorkDays,       // more work days than Member_DayOff (day 0)
    勤務時間,       // more hours than Member_Time, where the hour rule applies (day 0)
};

struct Violation {
    Rule rule;
    int member = 0;  // member index, or the record / pattern row named above
    int day = 0;
    int shift = 0;
    bool operator==(const Violation&) const = default;
    auto operator<=>(const Violation&) const = default;
};

struct Options {
    int firstDay = 0;  // 0: max(1, Start_Day)
    int lastDay = 0;   // 0: Day_Cnt
};

// Every broken rule of the current table, in a fixed order (rule by rule).
std::vector<Violation> check(const Options& options = {});
// Only the violations of the listed rules.
std::vector<Violation> only(const std::vector<Violation>& all, const std::vector<Rule>& rules);
// One readable line per violation.
QString describe(const std::vector<Violation>& violations);
QString ruleName(Rule rule);

}  // namespace validator
