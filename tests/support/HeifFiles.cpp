#include "HeifFiles.h"

#include "TestFiles.h"

#include <QColorSpace>
#include <QProcess>
#include <QTemporaryDir>
#include <QTransform>
#include <QtEndian>

#include <libheif/heif.h>

#include <cstdlib>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

namespace zorvane::test {
namespace {

// The stored pixels of an upright picture under an EXIF orientation: what
// the orientation undoes.
QImage storedFor(const QImage& upright, int orientation)
{
    switch (orientation) {
    case 2:
        return upright.mirrored(true, false);
    case 3:
        return upright.transformed(QTransform().rotate(180));
    case 4:
        return upright.mirrored(false, true);
    case 6:
        return upright.transformed(QTransform().rotate(-90));
    case 8:
        return upright.transformed(QTransform().rotate(90));
    default:
        return upright;
    }
}

struct Written
{
    QByteArray bytes;
};

heif_error appendBytes(heif_context*, const void* data, size_t size, void* userdata)
{
    static_cast<Written*>(userdata)->bytes.append(static_cast<const char*>(data), qsizetype(size));
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

// The image's pixels as libheif's 8-bit interleaved RGB.
heif_image* heifImageOf(const QImage& picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    heif_image* image = nullptr;
    if (heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB,
                          heif_chroma_interleaved_RGB, &image)
            .code != heif_error_Ok)
        return nullptr;
    heif_image_add_plane(image, heif_channel_interleaved, rgb.width(), rgb.height(), 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(plane + qsizetype(y) * stride, rgb.constScanLine(y), size_t(rgb.width() * 3));
    return image;
}

} // namespace

QByteArray heifFromEncoder(const QImage& image, HeifKind kind, int thumbnailSide,
                           const QByteArray& iccProfile)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return {};
    QImage source = image.convertToFormat(QImage::Format_RGB32);
    if (!iccProfile.isEmpty())
        source.setColorSpace(QColorSpace::fromIccProfile(iccProfile));
    const QString input = dir.filePath(u"in.png"_s);
    const QString output = dir.filePath(kind == HeifKind::Avif ? u"out.avif"_s : u"out.heic"_s);
    if (!source.save(input, "PNG"))
        return {};
    QStringList arguments{u"-q"_s, u"90"_s, u"-o"_s, output};
    if (kind == HeifKind::Avif)
        arguments << u"-A"_s;
    if (thumbnailSide > 0)
        arguments << u"-t"_s << QString::number(thumbnailSide);
    arguments << input;
    QProcess encoder;
    encoder.start(u"heif-enc"_s, arguments);
    if (!encoder.waitForFinished(120'000) || encoder.exitStatus() != QProcess::NormalExit ||
        encoder.exitCode() != 0)
        return {};
    return readFile(output);
}

QByteArray heifFromApi(const QImage& upright, const HeifWriting& writing,
                       const QByteArray& iccProfile)
{
    std::unique_ptr<heif_context, decltype(&heif_context_free)> context(heif_context_alloc(),
                                                                        &heif_context_free);
    std::unique_ptr<heif_image, decltype(&heif_image_release)> image(
        heifImageOf(storedFor(upright, writing.orientation)), &heif_image_release);
    if (!context || !image)
        return {};
    if (!iccProfile.isEmpty())
        heif_image_set_raw_color_profile(image.get(), "prof", iccProfile.constData(),
                                         size_t(iccProfile.size()));
    else if (writing.nclxPrimaries != 0) {
        std::unique_ptr<heif_color_profile_nclx, decltype(&heif_nclx_color_profile_free)> nclx(
            heif_nclx_color_profile_alloc(), &heif_nclx_color_profile_free);
        heif_nclx_color_profile_set_color_primaries(nclx.get(), uint16_t(writing.nclxPrimaries));
        heif_nclx_color_profile_set_transfer_characteristics(nclx.get(),
                                                             uint16_t(writing.nclxTransfer));
        heif_nclx_color_profile_set_matrix_coefficients(nclx.get(), 6);
        nclx->full_range_flag = 1;
        heif_image_set_nclx_color_profile(image.get(), nclx.get());
    }
    heif_encoder* encoderRaw = nullptr;
    const heif_compression_format format =
        writing.kind == HeifKind::Avif ? heif_compression_AV1 : heif_compression_HEVC;
    if (heif_context_get_encoder_for_format(context.get(), format, &encoderRaw).code !=
        heif_error_Ok)
        return {};
    std::unique_ptr<heif_encoder, decltype(&heif_encoder_release)> encoder(encoderRaw,
                                                                           &heif_encoder_release);
    heif_encoder_set_lossy_quality(encoder.get(), writing.quality);
    std::unique_ptr<heif_encoding_options, decltype(&heif_encoding_options_free)> options(
        heif_encoding_options_alloc(), &heif_encoding_options_free);
    options->image_orientation = heif_orientation(writing.orientation);
    // Left on, libheif leaves a HEIC's nclx box out for another reader's sake.
    options->macOS_compatibility_workaround_no_nclx_profile = 0;
    if (heif_context_encode_image(context.get(), image.get(), encoder.get(), options.get(), nullptr)
            .code != heif_error_Ok)
        return {};
    Written written;
    heif_writer writer{1, &appendBytes};
    if (heif_context_write(context.get(), &writer, &written).code != heif_error_Ok)
        return {};
    return written.bytes;
}

namespace {

// Rewrites image-size boxes (ispe: size, "ispe", version and flags, then
// width and height), the first one only or all of them.
QByteArray withSizeBoxesClaiming(QByteArray bytes, quint32 width, quint32 height, bool firstOnly)
{
    for (qsizetype at = bytes.indexOf("ispe"); at >= 0 && at + 16 <= bytes.size();
         at = bytes.indexOf("ispe", at + 4)) {
        qToBigEndian<quint32>(width, bytes.data() + at + 8);
        qToBigEndian<quint32>(height, bytes.data() + at + 12);
        if (firstOnly)
            break;
    }
    return bytes;
}

} // namespace

QByteArray heifClaiming(quint32 width, quint32 height)
{
    QImage tiny(8, 8, QImage::Format_RGB32);
    tiny.fill(Qt::red);
    return withSizeBoxesClaiming(heifFromApi(tiny, HeifWriting{}), width, height, false);
}

QByteArray withPrimarySizeClaiming(QByteArray heif, quint32 width, quint32 height)
{
    return withSizeBoxesClaiming(std::move(heif), width, height, true);
}

bool closeColour(QRgb actual, QRgb expected, int tolerance)
{
    return std::abs(qRed(actual) - qRed(expected)) <= tolerance &&
           std::abs(qGreen(actual) - qGreen(expected)) <= tolerance &&
           std::abs(qBlue(actual) - qBlue(expected)) <= tolerance;
}

} // namespace zorvane::test
