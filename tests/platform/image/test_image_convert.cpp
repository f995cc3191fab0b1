// Pictures written as image files: the format follows the name, and GIF keeps a picture's own
// colours exactly.
#include "platform/image/image_convert.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Four fills and a few text greys, as a sheet picture has.
QImage sheetLike()
{
    QImage image(120, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QColor fills[] = {QColor(0xCC, 0xFF, 0xCC), QColor(0xFF, 0xFF, 0x99), QColor(0x99, 0xCC, 0xFF)};
    for (int k = 0; k < 3; ++k)
        for (int y = 0; y < 20; ++y)
            for (int x = 40 * k; x < 40 * k + 30; ++x)
                image.setPixelColor(x, y, fills[k]);
    for (int x = 0; x < 120; ++x)
        image.setPixelColor(x, 40, QColor(x, x, x));
    return image;
}

TEST(ImgConvert, WritesTheFormatTheExtensionNamesAndRefusesOthers)
{
    QTemporaryDir dir;
    const QImage image = sheetLike();
    for (const char* name : {"a.gif", "b.GIF", "c.png", "d.Png", "e.bmp", "f.jpg", "g.JPG"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(ImgConvert(path, image)) << name;
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), QString::fromLatin1(name).section(u'.', 1).toLower().toLatin1().replace("jpg", "jpeg"));
        EXPECT_EQ(reader.read().size(), image.size()) << name;
    }
    for (const char* name : {"h.jpeg", "i.gif.tmp", "j", "k.gif/l"}) {
        EXPECT_FALSE(ImgConvert(dir.filePath(QString::fromLatin1(name)), image)) << name;
        EXPECT_FALSE(QFile::exists(dir.filePath(QString::fromLatin1(name)))) << name;
    }
    // A folder that is not there: nothing written, and an existing file is never left half done.
    EXPECT_FALSE(ImgConvert(dir.filePath(QStringLiteral("missing/a.gif")), image));
    EXPECT_FALSE(ImgConvert(dir.filePath(QStringLiteral("a.gif")), QImage()));
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("a.gif"))).size(), image.size());
}

TEST(ImgConvert, GifKeepsFewColoursExactlyAndReducesManyTo256)
{
    QTemporaryDir dir;
    const QImage few = sheetLike();
    ASSERT_TRUE(ImgToGIF(dir.filePath(QStringLiteral("few.gif")), few));
    const QImage back = QImage(dir.filePath(QStringLiteral("few.gif"))).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(back, few.convertToFormat(QImage::Format_RGB32));

    QImage many(256, 64, QImage::Format_RGB32);
    for (int y = 0; y < many.height(); ++y)
        for (int x = 0; x < many.width(); ++x)
            many.setPixelColor(x, y, QColor(x, y * 4, 255 - x));
    ASSERT_TRUE(ImgToGIF(dir.filePath(QStringLiteral("many.gif")), many));
    const QImage reduced(dir.filePath(QStringLiteral("many.gif")));
    ASSERT_EQ(reduced.size(), many.size());
    EXPECT_LE(reduced.colorCount(), 256);
    const QColor want = many.pixelColor(100, 30), got = reduced.pixelColor(100, 30);
    EXPECT_LE(std::abs(want.red() - got.red()) + std::abs(want.green() - got.green()) + std::abs(want.blue() - got.blue()), 48);
}

}  // namespace
