#pragma once
// Times of day are fractions of a day (0.5 is 12:00). Another spreadsheet program keeps them to 15
// significant digits, so its 8:00 is 0.333333333333333, a hair under 8/24: whatever turns a fraction
// into hours, minutes or a time text goes through the whole second first.
#include <QtGlobal>

namespace text {

// The fraction's nearest whole second, counted from the 0:00 of its day 0 (86400 a day).
qint64 wholeSeconds(double fraction);

// The fraction on its nearest whole second, as dividing that second by 86400 gives it. A time
// already on its second (typed, read from a file, or h/24) is that very double and comes back
// unchanged to the last bit.
double onWholeSecond(double fraction);

// Whether the fraction is a whole second as far as a program keeping 15 significant digits can
// tell: within a nanosecond of one (such a program stores a time of day far closer than that).
bool isWholeSecond(double fraction);

}  // namespace text
