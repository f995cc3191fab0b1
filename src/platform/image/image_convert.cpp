#include "platform/image/image_convert.h"

#include "platform/image/gif.h"
#include "platform/os/save_file.h"

#include <QBuffer>
#include <QImageWriter>

namespace {

// The text after the last "." of the file name; "" when the name has none.
QString extension(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype sep = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return dot > sep ? path.mid(dot + 1) : QString();
}

bool writeWith(const QString& dest, const QImage& source, const char* format, int quality = -1)
{
    if (source.isNull())
        return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    return writer.write(source) && os::writeWholeFile(dest, bytes).isEmpty();
}

}  // namespace

bool ImgConvert(const QString& dest, const QImage& source)
{
    const QString ext = extension(dest).toUpper();
    if (ext == QLatin1String("BMP"))
        return ImgToBMP(dest, source);
    if (ext == QLatin1String("PNG"))
        return ImgToPNG(dest, source);
    if (ext == QLatin1String("GIF"))
        return ImgToGIF(dest, source);
    if (ext == QLatin1String("JPG"))
        return ImgToJPG(dest, source, 100);
    return false;
}

bool ImgToBMP(const QString& dest, const QImage& source)
{
    return writeWith(dest, source, "bmp");
}

bool ImgToJPG(const QString& dest, const QImage& source, int quality)
{
    return writeWith(dest, source, "jpg", quality);
}

bool ImgToPNG(const QString& dest, const QImage& source)
{
    return writeWith(dest, source, "png");
}

bool ImgToGIF(const QString& dest, const QImage& source)
{
    const QByteArray bytes = image::encodeGif(source);
    if (bytes.isEmpty())
        return false;
    return os::writeWholeFile(dest, bytes).isEmpty();
}
