#include "PictureHolder.h"

#include "ImageLibraryNoise.h"
#include "PictureFileCheck.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace zorvane {
namespace {

// Qt refuses decoded images over 128 MB by default, about 32 megapixels.
// Raise the ceiling to what the largest allowed picture needs at four bytes
// a pixel, with room for the decoder's own row buffers.
constexpr int decodeAllocationLimitMb = int(PictureHolder::maxPixels * 4 / (1024 * 1024)) + 64;

// Halving stops once a copy is this small: below it a shrink from the
// picture itself is already cheap.
constexpr int smallestHalvedSide = 32;

bool claimsTooManyPixels(QSize size)
{
    return qint64(size.width()) * size.height() > PictureHolder::maxPixels;
}

bool isReadableFormat(const QByteArray& format)
{
    static const QList<QByteArray> formats{"bmp",  "gif",  "jpeg", "jpg", "png", "tif",
                                           "tiff", "webp", "pbm",  "pgm", "ppm"};
    return formats.contains(format.toLower());
}

QImage decode(QIODevice& device)
{
    QImageReader::setAllocationLimit(decodeAllocationLimitMb);
    // A refused picture is reported by the caller in one line of its own.
    const ImageLibraryNoiseScope quiet;
    QImageReader reader(&device);
    if (!isReadableFormat(reader.format()))
        return {};
    reader.setAutoTransform(true); // phone photos stand upright
    const QSize claimed = reader.size();
    if (claimed.isValid() && claimsTooManyPixels(claimed))
        return {};
    QImage image = reader.read();
    if (image.isNull() || claimsTooManyPixels(image.size()))
        return {};
    return image;
}

// No picture within the pixel limit needs a larger file (an uncompressed
// 32-bit BMP of the largest picture is just below it), so a larger file is
// refused before it is read.
constexpr qint64 maxFileBytes = qint64(decodeAllocationLimitMb) * 1024 * 1024;

QImage decodeBytes(QByteArray bytes)
{
    if (bytes.isEmpty() || bytes.size() > maxFileBytes || !isCompletePictureFile(bytes))
        return {};
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    return decode(buffer);
}

// The file is read whole rather than mapped: a mapped file that another
// program shortens while it is decoded would crash the process.
QImage decodeFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0 || file.size() > maxFileBytes)
        return {};
    QByteArray bytes = file.readAll();
    file.close();
    return decodeBytes(bytes);
}

// Screen painting and PDF output are fastest with 32-bit pixels.
QImage toDrawingFormat(QImage image)
{
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                            : QImage::Format_RGB32);
    return image;
}

} // namespace

PictureHolder::PictureHolder(QImage image) : image_(std::move(image))
{
    QImage previous = image_; // shares the pixels, copies nothing
    while (previous.width() / 2 >= smallestHalvedSide &&
           previous.height() / 2 >= smallestHalvedSide) {
        previous = previous.scaled(previous.width() / 2, previous.height() / 2,
                                   Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        halvedCopies_.push_back(previous);
    }
}

std::unique_ptr<PictureHolder> PictureHolder::load(const QString& path)
{
    return fromImage(decodeFile(path));
}

std::unique_ptr<PictureHolder> PictureHolder::fromFileBytes(const QByteArray& bytes)
{
    return fromImage(decodeBytes(bytes));
}

std::unique_ptr<PictureHolder> PictureHolder::fromImage(const QImage& image)
{
    if (image.isNull() || claimsTooManyPixels(image.size()))
        return nullptr;
    return std::unique_ptr<PictureHolder>(new PictureHolder(toDrawingFormat(image)));
}

QList<QByteArray> PictureHolder::readableFormats()
{
    QList<QByteArray> formats = QImageReader::supportedImageFormats();
    formats.removeIf([](const QByteArray& format) { return !isReadableFormat(format); });
    return formats;
}

const QImage& PictureHolder::reducedCopyCovering(QSize target) const
{
    for (auto copy = halvedCopies_.rbegin(); copy != halvedCopies_.rend(); ++copy) {
        if (copy->width() >= target.width() && copy->height() >= target.height())
            return *copy;
    }
    return image_;
}

} // namespace zorvane
