#pragma once
// A1 references: column letters, areas, and sheet-qualified references.
#include <QString>
#include <QStringView>
#include <optional>

namespace xl {

QString columnLetters(int column);            // 1 -> "A", 28 -> "AB"
int columnNumber(QStringView letters);        // "AB" -> 28; 0 when not letters or beyond the sheet

struct Area {
    int top = 1, left = 1, bottom = 1, right = 1;
    bool operator==(const Area&) const = default;
};

// "A1", "$B$2:$K$12", "B:AZ", "$3:$5" (corners in any order); nullopt when not an address.
std::optional<Area> parseArea(QStringView text);
// "$A$1", "$B$2:$K$12", "$B:$AZ" (whole columns), "$3:$5" (whole rows).
QString areaAddress(const Area& area);

// "'My Sheet'!$A$1" -> sheet "My Sheet", rest "$A$1"; no "!" -> sheet empty, rest the text.
struct SheetRef {
    QString sheet;
    QString rest;
};
SheetRef splitSheetRef(const QString& reference);
// The sheet name as a reference writes it: quoted when it holds anything but letters, digits,
// "_" and "." or starts with a digit.
QString quoteSheetName(const QString& name);

}  // namespace xl
