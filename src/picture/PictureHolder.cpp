#include "PictureHolder.h"

#include "CmykJpeg.h"
#include "EmbeddedProfile.h"
#include "HeifPicture.h"
#include "ImageLibraryNoise.h"
#include "PictureFileCheck.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cmath>

namespace zorvane {
namespace {

// Qt refuses decoded images over 128 MB by default, about 32 megapixels.
// Raise the ceiling to what the largest allowed picture needs at four bytes
// a pixel, with room for the decoder's own row buffers.
constexpr int decodeAllocationLimitMb = int(PictureHolder::maxPixels * 4 / (1024 * 1024)) + 64;

// Halving stops once a copy is this small: below it a shrink from the
// picture itself is already cheap.
constexpr int smallestHalvedSide = 32;

// No picture within the pixel limit needs a larger file (an uncompressed
// 32-bit BMP of the largest picture is just below it), so a larger file is
// refused before it is read.
constexpr qint64 maxFileBytes = qint64(decodeAllocationLimitMb) * 1024 * 1024;

// Says why a file is refused, for a caller that asked.
std::unique_ptr<PictureHolder> refused(PictureProblem* why, PictureProblem problem)
{
    if (why)
        *why = problem;
    return nullptr;
}

qint64 pixelsOf(QSize size)
{
    return qint64(size.width()) * size.height();
}

bool claimsTooManyPixels(QSize size, qint64 limit = PictureHolder::maxPixels)
{
    return pixelsOf(size) > limit;
}

bool isReadableFormat(const QByteArray& format)
{
    static const QList<QByteArray> formats{"bmp",  "gif",  "jpeg", "jpg", "png", "tif",
                                           "tiff", "webp", "pbm",  "pgm", "ppm"};
    return formats.contains(format.toLower());
}

// The limit is process-wide; it is raised once, before any decode, so
// decodes on other threads only ever read it.
void raiseAllocationLimitOnce()
{
    static const bool raised = [] {
        QImageReader::setAllocationLimit(decodeAllocationLimitMb);
        return true;
    }();
    Q_UNUSED(raised);
}

bool swapsSides(QImageIOHandler::Transformations turn)
{
    return turn.testFlag(QImageIOHandler::TransformationRotate90);
}

QSize upright(QSize stored, QImageIOHandler::Transformations turn)
{
    return swapsSides(turn) ? stored.transposed() : stored;
}

// Screen painting and PDF output are fastest with 32-bit pixels.
QImage toDrawingFormat(QImage image)
{
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                            : QImage::Format_RGB32);
    return image;
}

// The JPEG decoder shrinks by n/8 while it decodes. The smallest such
// size that still covers the target, sides rounded down so the decoder
// picks exactly that n; the stored size when only n = 8 covers it.
QSize jpegScaled(QSize stored, int eighths)
{
    return eighths == 8 ? stored
                        : QSize(int(qint64(stored.width()) * eighths / 8),
                                int(qint64(stored.height()) * eighths / 8));
}

int jpegEighthsCovering(QSize stored, QSize target)
{
    for (int eighths = 1; eighths < 8; ++eighths) {
        const QSize scaled = jpegScaled(stored, eighths);
        if (scaled.width() >= target.width() && scaled.height() >= target.height() &&
            !scaled.isEmpty())
            return eighths;
    }
    return 8;
}

QSize jpegScaledSizeCovering(QSize stored, QSize target)
{
    return jpegScaled(stored, jpegEighthsCovering(stored, target));
}

// Mirrors, then turns by a quarter, as QImageReader's own transformation.
QImage turned(QImage image, QImageIOHandler::Transformations turn)
{
    image.mirror(turn.testFlag(QImageIOHandler::TransformationMirror),
                 turn.testFlag(QImageIOHandler::TransformationFlip));
    if (swapsSides(turn))
        image = image.transformed(QTransform().rotate(90));
    return image;
}

// The largest size the JPEG decoder reaches by n/8 that holds at most the
// given number of pixels; an eighth when even that holds more.
QSize jpegScaledSizeWithin(QSize stored, qint64 limit)
{
    for (int eighths = 8; eighths > 1; --eighths) {
        const QSize scaled(int(qint64(stored.width()) * eighths / 8),
                           int(qint64(stored.height()) * eighths / 8));
        if (!claimsTooManyPixels(scaled, limit))
            return scaled;
    }
    return QSize(stored.width() / 8, stored.height() / 8);
}

// What the start of a JPEG says about its frame: whether it is a baseline,
// extended or progressive 8-bit frame of one or three components, the kinds
// a PDF reader shows as they are.
bool isPlainJpegFrame(QByteArrayView data)
{
    if (data.size() < 4 || uchar(data[0]) != 0xFF || uchar(data[1]) != 0xD8)
        return false;
    qsizetype at = 2;
    while (at + 4 <= data.size()) {
        if (uchar(data[at]) != 0xFF)
            return false;
        const uchar marker = uchar(data[at + 1]);
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        const int length = (uchar(data[at + 2]) << 8) | uchar(data[at + 3]);
        if (length < 2)
            return false;
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
            if (at + 10 > data.size())
                return false;
            const int precision = uchar(data[at + 4]);
            const int components = uchar(data[at + 9]);
            return precision == 8 && (components == 1 || components == 3);
        }
        if ((marker >= 0xC3 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
             marker != 0xCC) ||
            marker == 0xDA || marker == 0xD9)
            return false; // another kind of frame, or data before any frame
        at += 2 + length;
    }
    return false;
}

} // namespace

std::unique_ptr<PictureHolder> PictureHolder::open(const QString& path, PictureProblem* why)
{
    if (!QFileInfo(path).isFile())
        return refused(why, PictureProblem::CannotOpen);
    // The file is read whole rather than mapped: a mapped file that another
    // program shortens while it is decoded would crash the process.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(why, PictureProblem::CannotOpen);
    if (file.size() > maxFileBytes)
        return refused(why, PictureProblem::TooLarge);
    if (file.size() <= 0)
        return refused(why, PictureProblem::Damaged);
    QByteArray bytes = file.readAll();
    file.close();
    std::unique_ptr<PictureHolder> holder = openBytes(std::move(bytes), why);
    if (holder)
        holder->path_ = path;
    return holder;
}

// A HEIF file's size comes from its primary picture's boxes, checked
// against the limit before anything is decoded.
std::unique_ptr<PictureHolder> PictureHolder::openHeifBytes(QByteArray bytes, PictureProblem* why)
{
    const HeifHeader header = readHeifHeader(bytes);
    if (header.reading == HeifHeader::Reading::TooLarge)
        return refused(why, PictureProblem::TooLarge);
    if (header.reading != HeifHeader::Reading::Read)
        return refused(why, PictureProblem::Damaged);
    if (claimsTooManyPixels(header.size))
        return refused(why, PictureProblem::TooLarge);
    std::unique_ptr<PictureHolder> holder(new PictureHolder);
    holder->size_ = header.size;
    holder->heif_ = true;
    holder->heifThumbnail_ = header.hasThumbnail;
    // The decoder converts from the handle's colour itself; only whether it
    // can is kept here, so an unusable profile is reported as for others.
    holder->profileUse_ = header.profileUse;
    holder->bytes_ = std::move(bytes);
    return holder;
}

std::unique_ptr<PictureHolder> PictureHolder::openBytes(QByteArray bytes, PictureProblem* why)
{
    if (bytes.size() > maxFileBytes)
        return refused(why, PictureProblem::TooLarge);
    if (isHeifFile(bytes))
        return openHeifBytes(std::move(bytes), why);
    if (bytes.isEmpty() || !isCompletePictureFile(bytes))
        return refused(why, PictureProblem::Damaged);
    raiseAllocationLimitOnce();
    std::unique_ptr<PictureHolder> holder(new PictureHolder);
    {
        // A refused picture is reported by the caller in one line of its own.
        const ImageLibraryNoiseScope quiet;
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::ReadOnly))
            return refused(why, PictureProblem::CannotOpen);
        QImageReader reader(&buffer);
        if (!isReadableFormat(reader.format()))
            return refused(why, PictureProblem::NotAPicture);
        const QSize stored = reader.size();
        if (!stored.isValid() || stored.isEmpty())
            return refused(why, PictureProblem::Damaged);
        const bool jpeg = reader.format() == "jpeg";
        if (claimsTooManyPixels(stored, jpeg ? maxScalablePixels : maxPixels))
            return refused(why, PictureProblem::TooLarge);
        holder->turn_ = reader.transformation();
        holder->size_ = upright(stored, holder->turn_);
        holder->jpeg_ = reader.format() == "jpeg";
        holder->readColour(bytes, reader.format(), reader.imageFormat());
    }
    holder->bytes_ = std::move(bytes);
    return holder;
}

std::unique_ptr<PictureHolder> PictureHolder::fromFileBytes(QByteArray bytes, PictureProblem* why)
{
    return withFullPixels(openBytes(std::move(bytes), why), why);
}

std::unique_ptr<PictureHolder> PictureHolder::withFullPixels(std::unique_ptr<PictureHolder> holder,
                                                             PictureProblem* why)
{
    if (!holder)
        return nullptr;
    QImage image = holder->decodeFull();
    if (image.isNull())
        return refused(why, PictureProblem::Damaged);
    holder->adoptFull(std::move(image));
    return holder;
}

QList<QByteArray> PictureHolder::readableFormats()
{
    QList<QByteArray> formats = QImageReader::supportedImageFormats();
    formats.removeIf([](const QByteArray& format) { return !isReadableFormat(format); });
    return formats;
}

std::unique_ptr<PictureHolder> PictureHolder::load(const QString& path, PictureProblem* why)
{
    return withFullPixels(open(path, why), why);
}

std::unique_ptr<PictureHolder> PictureHolder::openForScreen(const QString& path, QSize screen,
                                                            PictureProblem* why)
{
    std::unique_ptr<PictureHolder> holder = open(path, why);
    if (!holder)
        return nullptr;
    // A HEIF picture decodes only in full; its thumbnail is shown until then.
    if (QImage thumbnail = holder->heifThumbnail(); !thumbnail.isNull()) {
        holder->adoptScreen(std::move(thumbnail));
        return holder;
    }
    QImage pixels =
        holder->decodesReducedCheaply() ? holder->decodeCovering(screen) : holder->decodeFull();
    if (pixels.isNull())
        return refused(why, PictureProblem::Damaged);
    if (pixels.size() == holder->size())
        holder->adoptFull(std::move(pixels));
    else
        holder->adoptScreen(std::move(pixels));
    return holder;
}

std::unique_ptr<PictureHolder> PictureHolder::fromImage(const QImage& image)
{
    if (image.isNull() || claimsTooManyPixels(image.size()))
        return nullptr;
    std::unique_ptr<PictureHolder> holder(new PictureHolder);
    holder->size_ = image.size();
    holder->full_ = toDrawingFormat(image);
    return holder;
}

QImage PictureHolder::decodeFull() const
{
    return decodeCovering(size_);
}

QImage PictureHolder::decodeCovering(QSize atLeast) const
{
    if (bytes_.isEmpty())
        return {};
    if (heif_)
        return decodeHeif(bytes_, size_);
    raiseAllocationLimitOnce();
    const QSize stored = upright(size_, turn_);
    const QSize target = upright(atLeast.boundedTo(size_), turn_);
    if (cmyk_)
        return decodeCmykCovering(stored, target);
    const ImageLibraryNoiseScope quiet;
    QByteArray bytes = bytes_; // shares the data; the buffer needs its own object
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer);
    reader.setAutoTransform(true); // phone photos stand upright
    const bool reduced =
        decodesReducedCheaply() && (target != stored || claimsTooManyPixels(size_));
    if (reduced) {
        QSize scaled = jpegScaledSizeCovering(stored, target);
        // A picture too large to hold whole is held no larger than this.
        if (claimsTooManyPixels(size_))
            scaled = scaled.boundedTo(jpegScaledSizeWithin(stored, maxPixelsHeldOfScaled));
        reader.setScaledSize(scaled);
    }
    QImage image = reader.read();
    if (image.isNull() || claimsTooManyPixels(image.size()))
        return {};
    // A file whose pixels are not what its header announced is refused, as
    // a picture that changed between the header and the decode.
    if (!reduced && image.size() != size_)
        return {};
    // Before anything cuts 16-bit samples to 8 bits.
    if (profileUse_ == ProfileUse::Converted &&
        convertFromProfile(image, profile_) == ProfileUse::Converted)
        image.setColorSpace(QColorSpace(QColorSpace::SRgb));
    return toDrawingFormat(std::move(image));
}

// The file's colour, read once where it is opened: a profile that is
// absent, sRGB or unusable is not kept, so nothing converts those pictures.
// A CMYK JPEG without a usable profile is left to Qt's reader, as before.
void PictureHolder::readColour(const QByteArray& file, const QByteArray& format,
                               QImage::Format pixels)
{
    const EmbeddedColour colour = embeddedColour(file, format);
    if (colour.unreadable)
        profileUse_ = ProfileUse::Ignored;
    else if (colour.cmyk)
        profileUse_ = cmykProfileUse(colour.profile);
    else
        profileUse_ = profileUseFor(pixels, colour.profile);
    if (profileUse_ != ProfileUse::Converted)
        return;
    profile_ = colour.profile;
    cmyk_ = colour.cmyk;
    invertedCmyk_ = colour.invertedCmyk;
}

QImage PictureHolder::decodeCmykCovering(QSize stored, QSize target) const
{
    int eighths = jpegEighthsCovering(stored, target);
    // A picture too large to hold whole is held no larger than a scaled one.
    while (eighths > 1 && claimsTooManyPixels(jpegScaled(stored, eighths), maxPixelsHeldOfScaled))
        --eighths;
    QImage image = decodeCmykJpeg(bytes_, profile_, invertedCmyk_, eighths);
    if (image.isNull() || (eighths == 8 && image.size() != stored))
        return {};
    return turned(std::move(image), turn_);
}

QByteArray PictureHolder::embeddableJpegProfile() const
{
    return profileUse_ == ProfileUse::Converted && !cmyk_ && !embeddableJpeg().isEmpty()
               ? profile_
               : QByteArray();
}

bool PictureHolder::decodesReducedCheaply() const
{
    return jpeg_;
}

void PictureHolder::adoptFull(QImage image)
{
    full_ = std::move(image);
}

void PictureHolder::adoptScreen(QImage image)
{
    screen_ = std::move(image);
}

void PictureHolder::dropFullPixels()
{
    if (!screen_.isNull() && !bytes_.isEmpty())
        full_ = QImage();
}

std::unique_ptr<PictureHolder> PictureHolder::withPixels(QImage image) const
{
    std::unique_ptr<PictureHolder> holder(new PictureHolder);
    holder->size_ = size_;
    holder->bytes_ = bytes_;
    holder->path_ = path_;
    holder->turn_ = turn_;
    holder->jpeg_ = jpeg_;
    holder->profile_ = profile_;
    holder->profileUse_ = profileUse_;
    holder->cmyk_ = cmyk_;
    holder->invertedCmyk_ = invertedCmyk_;
    holder->heif_ = heif_;
    holder->heifThumbnail_ = heifThumbnail_;
    if (image.size() == size_)
        holder->full_ = std::move(image);
    else
        holder->screen_ = std::move(image);
    return holder;
}

QImage PictureHolder::heifThumbnail() const
{
    if (!heifThumbnail_)
        return {};
    QImage thumbnail = decodeHeifThumbnail(bytes_);
    // A thumbnail not of the picture's shape (one left unturned while the
    // picture is turned) would show the picture wrongly until it decodes.
    const auto ratio = [](QSize size) { return double(size.width()) / size.height(); };
    if (thumbnail.isNull() || thumbnail.width() >= size_.width() ||
        std::abs(ratio(thumbnail.size()) / ratio(size_) - 1.0) > 0.05)
        return {};
    return thumbnail;
}

QByteArray PictureHolder::embeddableJpeg() const
{
    if (!jpeg_ || !isPlainJpegFrame(bytes_))
        return {};
    return bytes_;
}

const QImage& PictureHolder::reducedCopyCovering(QSize target) const
{
    if (!full_.isNull() && !screen_.isNull() && screen_.width() >= target.width() &&
        screen_.height() >= target.height())
        return screen_;
    const QImage& picture = image();
    if (halvedFrom_ != picture.cacheKey()) {
        halvedCopies_.clear();
        QImage previous = picture; // shares the pixels, copies nothing
        while (previous.width() / 2 >= smallestHalvedSide &&
               previous.height() / 2 >= smallestHalvedSide) {
            previous = previous.scaled(previous.width() / 2, previous.height() / 2,
                                       Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            halvedCopies_.push_back(previous);
        }
        halvedFrom_ = picture.cacheKey();
    }
    for (auto copy = halvedCopies_.rbegin(); copy != halvedCopies_.rend(); ++copy) {
        if (copy->width() >= target.width() && copy->height() >= target.height())
            return *copy;
    }
    return picture;
}

} // namespace zorvane
