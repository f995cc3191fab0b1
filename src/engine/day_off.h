#pragma once
// Runs of rest days longer than 連続休み上限 in Time_Table, and the report the main window shows
// of them.
#include <QDate>
#include <QString>
#include <vector>

struct RestRun {
    QString label;  // row ":" member number "　" name
    int dayCount = 0;
    int 開始日 = 0;  // day index into Time_Table
    int row = 0;      // member row
};

// The runs of rest days strictly longer than 連続休み上限, member by member over days
// 1..Day_Cnt (day 0 belongs to no run). A limit below 1 means no limit: no run. Their count.
int GetDayOffCnt(std::vector<RestRun>& runs);
// The report: the limit, then each run's length, its first and last dates as "dd(aaa)" counted
// from base (the date of day 1), and its member.
QString restRunReport(const std::vector<RestRun>& runs, const QDate& base);
