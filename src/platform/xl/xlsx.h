#pragma once
// The workbook file: Office Open XML spreadsheet (.xlsx, and .xlsm without a macro part).
#include "book_data.h"

#include <QString>

namespace xl {

// Reads a workbook file. Throws xl::Error naming the file and the problem when the file is
// missing, is not a workbook, is damaged or is an old binary .xls; returns data only on success.
BookData readWorkbookFile(const QString& path);

// Writes a workbook file atomically: beside the target first, then renamed over it, so a failure
// (thrown as xl::Error) leaves an existing file untouched. macroEnabled writes the .xlsm content
// type (with no macro part).
void writeWorkbookFile(const BookData& book, const QString& path, bool macroEnabled);

}  // namespace xl
