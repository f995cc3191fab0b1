#pragma once
// Saving a picture as an image file in the format its name asks for.
#include <QImage>
#include <QString>

// Writes the picture into dest in the format of dest's extension, in any case: BMP, PNG, GIF or
// JPG (quality 100). False for any other extension ("jpeg" included) and for a failed write; an
// existing file is replaced only by a complete new one.
bool ImgConvert(const QString& dest, const QImage& source);
bool ImgToBMP(const QString& dest, const QImage& source);
bool ImgToJPG(const QString& dest, const QImage& source, int quality);
bool ImgToPNG(const QString& dest, const QImage& source);
bool ImgToGIF(const QString& dest, const QImage& source);
