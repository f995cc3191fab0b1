#pragma once
// The values a condition file carries, read from a book and compared with their types.
#include "../../support/text.h"
#include "platform/xl/xl.h"
#include "workbook/condition_file.h"

#include <gtest/gtest.h>

inline std::vector<xl::Block> valuesOf(xl::Workbook& book, const std::vector<condition_file::ListedRange>& ranges)
{
    std::vector<xl::Block> all;
    for (const auto& r : ranges)
        all.push_back(book.worksheets(r.sheet).range(r.name).block());
    return all;
}

// Equal QVariants may still differ in type (1 and 1.0): the types are compared too.
inline void expectSameValues(const std::vector<condition_file::ListedRange>& ranges, const std::vector<xl::Block>& want,
                             const std::vector<xl::Block>& got)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t k = 0; k < want.size(); ++k) {
        SCOPED_TRACE(ranges[k].name.toStdString());
        for (int i = 1; i <= want[k].rows(); ++i)
            for (int j = 1; j <= want[k].columns(); ++j) {
                ASSERT_EQ(got[k](i, j), want[k](i, j)) << i << "," << j;
                ASSERT_EQ(got[k](i, j).typeId(), want[k](i, j).typeId()) << i << "," << j;
            }
    }
}
