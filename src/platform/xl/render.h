#pragma once
// How cells measure and look on screen, shared by the range picture and the sheet window so that
// both show a sheet alike.
#include "bookdata.h"

#include <QFont>

namespace xl {

// Screen pixels (96 dpi) of a column width in characters and of a row height in points.
int columnWidthPixels(double characters);
int rowHeightPixels(double points);
// The font a cell's text is drawn with (needs a QGuiApplication).
QFont cellFont(const CellStyle& style);

}  // namespace xl
