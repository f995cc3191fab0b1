#pragma once
// The assignability test: whether one member, or every member, may take a shift on a day of the
// period, and if not the first rule that forbids it.
#include <QString>

// The report of shift t (0 = rest) on period day d for roster row m, or for every member when m
// is below 1.
QString assignabilityReport(int m, int t, int d);
