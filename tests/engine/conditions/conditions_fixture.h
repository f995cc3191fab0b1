#pragma once
// A roster workbook as start-up leaves it: the template loaded with a condition file, opened in
// the program's application (xlApp, xlBook, stBookName) and the period read from sheet Main.
#include "common.h"
#include "platform/xl/xl.h"

#include <QString>
#include <QVariant>
#include <gtest/gtest.h>

namespace condfx {

inline const char* const kNewFile = "parts/新規作成.csv";

class ConditionTest : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    // Builds the template, loads the file and sets the start-up globals.
    xl::Workbook& open(const char* relativeFile);
    // A named range as its sheet holds it.
    xl::Range named(const QString& sheet, const QString& name);
    void set(const QString& sheet, const QString& name, int row, int column, const QVariant& value);
    // Stops the workbook's recalculation, so that a derived cell keeps what a test writes.
    void manual();
    // Title and text of the last message box, "" when none was shown.
    QString lastTitle() const;
    QString lastText() const;
};

}  // namespace condfx
