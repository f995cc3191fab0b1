#pragma once
// The 56 colours of the default workbook palette, reached by ColorIndex 1..56.
#include <QColor>

namespace xl {

inline constexpr int kColorIndexNone = -4142;       // no fill
inline constexpr int kColorIndexAutomatic = -4105;  // automatic (black text, no border colour)

// The palette colour of index 1..56; an invalid colour for None, Automatic or anything else.
QColor colorFromIndex(int index);

// The palette index of a colour: an exact match first (lowest index), else the nearest colour.
// An invalid colour gives `noColor` (None for fills, Automatic for fonts and borders).
int colorIndexOf(const QColor& color, int noColor = kColorIndexNone);

}  // namespace xl
