#include "platform/image/gif.h"

#include <QHash>
#include <QPainter>
#include <gif_lib.h>
#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <vector>

namespace image {

namespace {

struct Indexed {
    std::vector<GifColorType> palette;
    std::vector<GifByteType> pixels;   // row by row
};

// The exact palette, or nothing when there are more than 256 colours.
bool exactColours(const QImage& rgb, Indexed& out)
{
    QHash<QRgb, GifByteType> index;
    out.pixels.resize(size_t(rgb.width()) * size_t(rgb.height()));
    GifByteType* px = out.pixels.data();
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        QRgb last = ~line[0];
        GifByteType lastIndex = 0;
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = line[x] | 0xFF000000u;
            if (c != last) {
                auto it = index.constFind(c);
                if (it == index.constEnd()) {
                    if (index.size() == 256)
                        return false;
                    it = index.insert(c, GifByteType(index.size()));
                    out.palette.push_back(GifColorType{GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))});
                }
                last = c;
                lastIndex = *it;
            }
            *px++ = lastIndex;
        }
    }
    return true;
}

// More than 256 colours (anti-aliased text over many fills): the most frequent colours stay exact,
// so fills keep their colour; a median cut of the whole picture fills the rest of the palette; each
// colour takes its nearest entry.
bool reduced(const QImage& rgb, Indexed& out)
{
    const size_t n = size_t(rgb.width()) * size_t(rgb.height());
    std::vector<GifByteType> r(n), g(n), b(n);
    QHash<QRgb, int> counts;
    size_t i = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x, ++i) {
            r[i] = GifByteType(qRed(line[x]));
            g[i] = GifByteType(qGreen(line[x]));
            b[i] = GifByteType(qBlue(line[x]));
            ++counts[line[x] | 0xFF000000u];
        }
    }
    std::vector<std::pair<int, QRgb>> frequent;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        frequent.emplace_back(it.value(), it.key());
    const size_t kept = std::min<size_t>(128, frequent.size());
    std::partial_sort(frequent.begin(), frequent.begin() + ptrdiff_t(kept), frequent.end(), std::greater<>());
    for (size_t k = 0; k < kept; ++k) {
        const QRgb c = frequent[k].second;
        out.palette.push_back(GifColorType{GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))});
    }
    int size = 256 - int(kept);
    std::vector<GifColorType> cut(static_cast<size_t>(size));
    std::vector<GifByteType> ignored(n);
    if (GifQuantizeBuffer(unsigned(rgb.width()), unsigned(rgb.height()), &size, r.data(), g.data(), b.data(),
                          ignored.data(), cut.data()) != GIF_OK)
        return false;
    out.palette.insert(out.palette.end(), cut.begin(), cut.begin() + size);

    QHash<QRgb, GifByteType> nearest;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const QRgb c = it.key();
        int best = 0, bestDistance = INT_MAX;
        for (size_t k = 0; k < out.palette.size() && bestDistance > 0; ++k) {
            const int dr = qRed(c) - out.palette[k].Red, dg = qGreen(c) - out.palette[k].Green,
                      db = qBlue(c) - out.palette[k].Blue;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = int(k);
            }
        }
        nearest.insert(c, GifByteType(best));
    }
    out.pixels.resize(n);
    i = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            out.pixels[i++] = nearest.value(line[x] | 0xFF000000u);
    }
    return true;
}

int appendBytes(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

bool write(const Indexed& indexed, int width, int height, QByteArray& bytes)
{
    // A colour map holds a power of two of entries, at least 2.
    int bits = 1;
    while ((1 << bits) < int(indexed.palette.size()))
        ++bits;
    std::vector<GifColorType> colours = indexed.palette;
    colours.resize(size_t(1) << bits, GifColorType{255, 255, 255});
    std::unique_ptr<ColorMapObject, decltype(&GifFreeMapObject)> map(GifMakeMapObject(1 << bits, colours.data()),
                                                                    &GifFreeMapObject);
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, appendBytes, &error);
    if (!map || !gif) {
        if (gif)
            EGifCloseFile(gif, &error);
        return false;
    }
    bool ok = EGifPutScreenDesc(gif, width, height, bits, 0, map.get()) == GIF_OK
              && EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    for (int y = 0; ok && y < height; ++y) {
        std::copy_n(indexed.pixels.begin() + ptrdiff_t(y) * width, width, line.begin());
        ok = EGifPutLine(gif, line.data(), width) == GIF_OK;
    }
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

}  // namespace

QByteArray encodeGif(const QImage& source)
{
    if (source.isNull() || source.width() > 65535 || source.height() > 65535)
        return {};
    QImage rgb(source.size(), QImage::Format_RGB32);
    rgb.fill(Qt::white);
    {
        QPainter p(&rgb);
        p.drawImage(0, 0, source);
    }
    Indexed indexed;
    if (!exactColours(rgb, indexed)) {
        indexed = {};
        if (!reduced(rgb, indexed))
            return {};
    }
    QByteArray bytes;
    if (!write(indexed, rgb.width(), rgb.height(), bytes))
        return {};
    return bytes;
}

}  // namespace image
