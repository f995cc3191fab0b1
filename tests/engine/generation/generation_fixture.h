#pragma once
// A sample work folder ready for a generation attempt: its workbook open in the program's
// application, the condition model's steps installed, a database of its own, no pacing waits and
// no optimiser but its report (tests put counting stand-ins into optimiserSteps where they need one).
#include "common.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace genfx {

class GenerationTest : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;
    void open(const char* sample);
    // The text of grid cell (member, day) of 人員配置表.
    QString cell(int m, int d) const;
    // The grid's texts, members 1..Member_Cnt by days 1..Day_Cnt, one line per member.
    QString gridText() const;
    // A named cell of the workbook set to value.
    void set(const QString& sheet, const QString& name, const QVariant& value, int row = 1, int column = 1);

    QTemporaryDir dir;
};

}  // namespace genfx
