#include "TestPictures.h"

#include "SheetProbe.h"
#include "picture/PictureHolder.h"
#include <QBuffer>
#include <QImageWriter>

#include <QRandomGenerator>
#include <QtEndian>

#include <algorithm>

namespace zorvane::test {

QImage quarteredImage(int width, int height, const QuarterColours& colours)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            image.setPixel(x, y,
                           bottom ? (right ? colours.bottomRight : colours.bottomLeft)
                                  : (right ? colours.topRight : colours.topLeft));
        }
    }
    return image;
}

QByteArray bmpClaiming(qint32 width, qint32 height, quint16 bitsPerPixel)
{
    QByteArray bmp(54 + 16, '\0');
    char* d = bmp.data();
    d[0] = 'B';
    d[1] = 'M';
    qToLittleEndian<quint32>(quint32(bmp.size()), d + 2);
    qToLittleEndian<quint32>(54, d + 10);
    qToLittleEndian<quint32>(40, d + 14);
    qToLittleEndian<qint32>(width, d + 18);
    qToLittleEndian<qint32>(height, d + 22);
    qToLittleEndian<quint16>(1, d + 26);
    qToLittleEndian<quint16>(bitsPerPixel, d + 28);
    return bmp;
}

QByteArray blankPng(int width, int height)
{
    QImage image(width, height, QImage::Format_Mono);
    image.fill(0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    return writer.write(image) ? bytes : QByteArray();
}

std::unique_ptr<PictureHolder> solidPicture(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return PictureHolder::fromImage(image);
}

QImage incompressibleImage(QSize size, quint32 seed)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1664525 + 1013904223;
            image.setPixel(x, y, 0xff000000 | (seed >> 8));
        }
    }
    return image;
}

QImage noisyQuarteredImage(int width, int height)
{
    QImage image =
        sheetprobe::quarteredPicture(width, height).convertToFormat(QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int n = int(random.bounded(40u)) - 20;
            line[x] =
                qRgb(std::clamp(qRed(line[x]) + n, 0, 255), std::clamp(qGreen(line[x]) + n, 0, 255),
                     std::clamp(qBlue(line[x]) + n, 0, 255));
        }
    }
    return image;
}

} // namespace zorvane::test
