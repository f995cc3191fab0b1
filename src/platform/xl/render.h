#pragma once
// How cells measure and look on screen, shared by the range picture and the sheet window so that
// both show a sheet alike.
#include "book_data.h"

#include <QFont>
#include <climits>

class QPainter;

namespace xl {

// Screen pixels (96 dpi) of a column width in characters and of a row height in points.
int columnWidthPixels(double characters);
int rowHeightPixels(double points);
// The font a cell's text is drawn with (needs a QGuiApplication).
QFont cellFont(const CellStyle& style);
// Draws one border edge centred on the pixel line `at` (a column when vertical) from `from` to
// `to`; pixel lines are kept inside 0..limit-1 so outer edges of a picture stay visible.
void drawBorderEdge(QPainter& p, const BorderEdge& e, bool vertical, int at, int from, int to, int limit = INT_MAX);

}  // namespace xl
