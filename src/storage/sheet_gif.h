#pragma once
// The pictures of the published site: one GIF per page of a worksheet, drawn straight from the
// sheet (the system clipboard is never touched).
#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>

namespace xl {
class Worksheet;
}

// The value written into the index cell of the sheet before its image k: the page number, or
// k - 1 for the day views; nothing for a sheet of one picture.
std::optional<int> PictureIndex(const QString& sheetName, int k);
// The cell range pictured on the sheet as it stands (after its index was written). Throws
// xl::Error 1004 for a sheet that is not published.
QString PictureRange(xl::Worksheet& sheet);
// Writes the picture as imageName + ".gif"; false when it was written, true when it could not be.
bool SavePictureGif(const QImage& picture, const QString& imageName);
// Pictures n pages of the sheet into folder/shift_1.gif .. shift_n.gif, writing each page's index
// into the range indexName first, with the progress on bar (0 or 1) of frmPrgB. Stops before the
// next picture once Sw_中止 is set; the images written stay. Returns the paths of the images that
// could not be made. Errors of the sheet (a missing name, a bad range) reach the caller.
QStringList SheetToGif(xl::Worksheet& sheet, const QString& folder, const QString& indexName, int n, int bar);
