#pragma once
// A workbook with a little of everything the file keeps, and a field-by-field comparison.
#include "platform/xl/book_data.h"

#include <QString>

namespace xlsxtest {

xl::BookData sampleBook();
// Adds a style and returns its index.
int addStyle(xl::BookData& book, const xl::CellStyle& style);
// Compares with gtest expectations; styles are compared by content, not by index.
void expectSameBook(const xl::BookData& expected, const xl::BookData& actual);

}  // namespace xlsxtest
