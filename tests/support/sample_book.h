#pragma once
// A sample work folder's condition file opened into a fresh template, as the program would see
// it: xlBook, stBookName and the period globals of sheet Main point at it afterwards.
#include "workbook/condfile.h"

#include <QString>

namespace xl { class Workbook; }

// The book is created even when loading fails; the status says why.
condfile::Status openSampleBook(const QString& conditionFile, xl::Workbook** book = nullptr);
// The file of a sample work folder below the source tree, e.g. "examples/作成例2/条件.csv".
QString sourceFile(const char* relative);
