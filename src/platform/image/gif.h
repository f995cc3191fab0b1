#pragma once
// GIF encoding (Qt reads GIF but cannot write it).
#include <QByteArray>
#include <QImage>

namespace image {

// The image as a GIF file: its own colours when it has at most 256 of them; otherwise its most
// frequent colours exactly (the fills of a sheet picture) and the rest by a median cut.
// Transparent parts are laid on white. Empty for a null image or one larger than a GIF can hold.
QByteArray encodeGif(const QImage& image);

}  // namespace image
