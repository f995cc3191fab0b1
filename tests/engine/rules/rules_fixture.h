#pragma once
// Small hand-built condition models for the rule tests: shift types 日 (1), 夜 (2), 明 (3) ...
// with 8 hours each, members numbered 101, 102, ..., a January 2027 period (day 1 = Friday).
#include "common.h"
#include "small_model.h"

#include <QString>
#include <gtest/gtest.h>

namespace rulesfx {

// A fresh model of the given size: every table zero, every member's target = days, no limits.
void makeModel(int members, int days, int types = 3);
using smallmodel::place;
using smallmodel::row;
using smallmodel::shiftOf;
using smallmodel::totalsMatchRecount;
// Last month's final days, the last day first (column 1 = the day before day 1); also day 0.
void past(int m, const QString& cellsLastDayFirst);
// A prohibited pattern row from abbreviations ("夜-" = night then rest, "夜*").
void addPattern(const QString& cells);
// A required succession: first, then next on the following day.
void addRequired(int first, int next);
// A model where 夜 (2) requires 明 (3) on the next day; candidates ranked in member order.
void nightModel(int members, int days);
// Shift s reserved for member m on day d, and placed.
void reserve(int m, int d, int s);
// A ban or must record over member indexes (numbers 100 + index; an empty list for none).
void addBan(int shift, int count, std::initializer_list<int> members);
void addMust(int shift, int count, std::initializer_list<int> members);

}  // namespace rulesfx
