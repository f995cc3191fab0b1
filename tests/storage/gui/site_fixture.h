#pragma once
// A month ready to publish: a sample work folder's conditions with a shift table on the sheet
// (each day's need met by members in turn), the condition model read from it, and a temporary
// folder for the site.
#include "common.h"
#include "platform/xl/xl.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace sitefx {

class SiteMonth : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    // Opens the conditions (relative to the source tree), fills the table and reads the model.
    void open(const char* conditionFile = kGeneral);
    xl::Worksheet& sheet(const QString& name);
    // The abbreviation on the sheet for member row i on day d.
    QString shiftAt(int i, int d);
    QString folder() const { return dir.path(); }

    QTemporaryDir dir;
    // What the program opened with the desktop (the browser, the file manager).
    QStringList opened;
};

// The colour of the cell (row, column) in the picture of a range whose top-left cell is (top, left).
QColor cellColour(const QImage& picture, xl::Worksheet& ws, int top, int left, int row, int column);

}  // namespace sitefx
