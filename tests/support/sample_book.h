#pragma once
// A sample work folder's condition file opened into a fresh template, as the program would see
// it: xlBook, stBookName and the period globals of sheet Main point at it afterwards.
#include "workbook/condition_file.h"

#include <QString>

namespace xl { class Workbook; }

// The book is created even when loading fails; the status says why.
condition_file::Status openSampleBook(const QString& conditionFile, xl::Workbook** book = nullptr);
// Lets every member of the book work `days` more days than its conditions plan (fewer planned
// rest days). The samples plan nearly every work day their needs leave, which a whole generation
// meets with its exchanges and retries; tests of one attempt without them, or of exchanges on an
// arbitrary table, want a month with room.
void giveWorkDayRoom(xl::Workbook& book, int days);
// The file of a sample work folder below the source tree, e.g. "examples/作成例2/条件.csv".
QString sourceFile(const char* relative);
