#pragma once
// Small hand-built condition models shared by the engine's and the optimiser's tests: shift types
// named from 日夜明早遅半研会出張 in that order, 8 hours each, members numbered 101, 102, ...
#include <QChar>
#include <QString>
#include <gtest/gtest.h>
#include <vector>

namespace smallmodel {

// Tables sized and zero, shift types named, members numbered with target = days; the calendar and
// every limit are the caller's.
void make(int members, int days, int types);
// Shift number of an abbreviation ("-"/"休" or an unknown character = rest 0, "*" = every shift).
int shiftOf(QChar c);
// Puts shift s into the cell and counts it (the way generation places a shift).
void place(int m, int d, int s);
// Member m's days from `from`, one abbreviation per character, each placed shift counted.
void row(int m, const QString& cells, int from = 1);

// Time_Table of members 1..Member_Cnt, days 0..Day_Cnt.
std::vector<int> snapshot();
// Cells that differ from the snapshot.
int changedCells(const std::vector<int>& before);
// Whether every member's totals equal a recount of Time_Table (days 1..Day_Cnt): per shift type,
// work days, holiday work and hours; the first mismatch as text.
::testing::AssertionResult totalsMatchRecount();

}  // namespace smallmodel
