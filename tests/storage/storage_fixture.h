#pragma once
// A work folder of its own with the general ward's conditions open and the database created, as
// the program leaves it after start-up; months to save are filled into the grid by pattern.
#include "common.h"
#include "platform/xl/xl.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantList>
#include <gtest/gtest.h>
#include <vector>

class SaveTest : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    // Sheet Main and the period globals for the month, recalculated.
    void month(int year, int month, int startDay);
    // Every member's days as 日, 準, 深 and the rest symbol in turn, shifted by offset.
    void fillGrid(int offset);
    static QString patternAt(int member, int day, int offset);
    void set(const QString& sheet, const QString& name, int row, int column, const QVariant& value);
    // Runs the save with the answer to its question.
    void save(int answer);
    // Saves the book into the work folder, so that its macros find the database beside it.
    void placeBook();

    // Rows of a query on the database, through a connection of the test's own; scalar gives the
    // first value (a statement without rows gives an invalid one).
    std::vector<QVariantList> rows(const QString& sql);
    QVariant scalar(const QString& sql);
    QByteArray databaseBytes();

    QTemporaryDir dir;
    xl::Workbook* book = nullptr;
};
