#include "palette.h"

#include <array>
#include <limits>

namespace xl {

namespace {

// The default workbook's palette, ColorIndex 1..56.
constexpr std::array<unsigned, 56> kPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};

}  // namespace

QColor colorFromIndex(int index)
{
    if (index < 1 || index > int(kPalette.size()))
        return QColor();
    return QColor::fromRgb(QRgb(0xFF000000u | kPalette[size_t(index - 1)]));
}

int colorIndexOf(const QColor& color, int noColor)
{
    if (!color.isValid())
        return noColor;
    const QRgb rgb = color.rgb() & 0xFFFFFFu;
    int best = 1;
    long bestDistance = std::numeric_limits<long>::max();
    for (size_t i = 0; i < kPalette.size(); ++i) {
        const unsigned p = kPalette[i];
        if (p == rgb)
            return int(i) + 1;
        const long dr = long((p >> 16) & 0xFF) - qRed(rgb);
        const long dg = long((p >> 8) & 0xFF) - qGreen(rgb);
        const long db = long(p & 0xFF) - qBlue(rgb);
        const long d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = int(i) + 1;
        }
    }
    return best;
}

}  // namespace xl
