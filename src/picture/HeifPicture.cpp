#include "HeifPicture.h"

#include "ColourProfile.h"

#include <libheif/heif.h>

#include <memory>
#include <optional>

namespace zorvane {
namespace {

// libheif refuses, while it reads the boxes, a picture with a side longer
// than this; the pixel limit on the area is checked by the caller before
// anything is decoded. The largest phone sensors stay well below it.
constexpr int heifLargestSide = 32768;

struct HeifContextFree
{
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HeifHandleRelease
{
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct HeifImageRelease
{
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct HeifOptionsFree
{
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};
using HeifContextPtr = std::unique_ptr<heif_context, HeifContextFree>;
using HeifHandlePtr = std::unique_ptr<heif_image_handle, HeifHandleRelease>;
using HeifImagePtr = std::unique_ptr<heif_image, HeifImageRelease>;
using HeifOptionsPtr = std::unique_ptr<heif_decoding_options, HeifOptionsFree>;

// The context reads from the caller's bytes without copying them; they
// outlive it in every function below.
struct OpenedHeif
{
    HeifContextPtr context;
    HeifHandlePtr primary;
    heif_suberror_code problem = heif_suberror_Unspecified;
};

OpenedHeif openHeif(const QByteArray& bytes)
{
    OpenedHeif opened;
    opened.context.reset(heif_context_alloc());
    if (!opened.context)
        return opened;
    heif_context_set_maximum_image_size_limit(opened.context.get(), heifLargestSide);
    const heif_error read = heif_context_read_from_memory_without_copy(
        opened.context.get(), bytes.constData(), size_t(bytes.size()), nullptr);
    if (read.code != heif_error_Ok) {
        opened.problem = read.subcode;
        return opened;
    }
    heif_image_handle* primary = nullptr;
    const heif_error got = heif_context_get_primary_image_handle(opened.context.get(), &primary);
    opened.primary.reset(primary);
    if (got.code != heif_error_Ok) {
        opened.primary.reset();
        opened.problem = got.subcode;
    }
    return opened;
}

QSize handleSize(const heif_image_handle* handle)
{
    return QSize(heif_image_handle_get_width(handle), heif_image_handle_get_height(handle));
}

// The colour an nclx box gives as a transfer curve; none for curves an ICC
// profile cannot hold (PQ, HLG), which are then taken as sRGB's.
std::optional<ToneCurve> nclxCurve(heif_transfer_characteristics transfer)
{
    switch (transfer) {
    case heif_transfer_characteristic_ITU_R_BT_709_5:
    case heif_transfer_characteristic_ITU_R_BT_601_6:
    case heif_transfer_characteristic_ITU_R_BT_2020_2_10bit:
    case heif_transfer_characteristic_ITU_R_BT_2020_2_12bit:
        return ToneCurve::rec709();
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_M:
        return ToneCurve::power(2.2);
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_B_G:
        return ToneCurve::power(2.8);
    case heif_transfer_characteristic_linear:
        return ToneCurve::linear();
    case heif_transfer_characteristic_IEC_61966_2_1:
    case heif_transfer_characteristic_unspecified:
        return ToneCurve::srgb();
    default:
        return std::nullopt;
    }
}

// An ICC profile for the primaries and curve of an nclx box; empty for
// sRGB's own (or unspecified) colour, which needs no conversion.
QByteArray profileOfNclx(const heif_color_profile_nclx& nclx)
{
    const std::optional<ToneCurve> curve = nclxCurve(nclx.transfer_characteristics);
    const bool srgbPrimaries = nclx.color_primaries == heif_color_primaries_ITU_R_BT_709_5 ||
                               nclx.color_primaries == heif_color_primaries_unspecified;
    const bool srgbCurve =
        nclx.transfer_characteristics == heif_transfer_characteristic_IEC_61966_2_1 ||
        nclx.transfer_characteristics == heif_transfer_characteristic_unspecified;
    if (!curve || (srgbPrimaries && srgbCurve))
        return {};
    if (srgbPrimaries)
        return rgbProfileFor(*curve);
    const cmsCIExyY white{nclx.color_primary_white_x, nclx.color_primary_white_y, 1.0};
    const cmsCIExyYTRIPLE primaries{{nclx.color_primary_red_x, nclx.color_primary_red_y, 1.0},
                                    {nclx.color_primary_green_x, nclx.color_primary_green_y, 1.0},
                                    {nclx.color_primary_blue_x, nclx.color_primary_blue_y, 1.0}};
    return rgbProfileFor(white, primaries, *curve);
}

// The picture's colour as the handle gives it: the decoded image reports
// none. An ICC profile when the file has one, else one made from its nclx
// box; empty for sRGB or no colour at all.
QByteArray colourProfileOf(const heif_image_handle* handle)
{
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
    if (type == heif_color_profile_type_prof || type == heif_color_profile_type_rICC) {
        QByteArray icc(qsizetype(heif_image_handle_get_raw_color_profile_size(handle)),
                       Qt::Uninitialized);
        if (icc.isEmpty() ||
            heif_image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok)
            return {};
        return icc;
    }
    if (type != heif_color_profile_type_nclx)
        return {};
    heif_color_profile_nclx* nclxRaw = nullptr;
    const heif_error got = heif_image_handle_get_nclx_color_profile(handle, &nclxRaw);
    // Owned even when the call fails: libheif hands out the profile before
    // it refuses primaries or curves it does not know.
    const std::unique_ptr<heif_color_profile_nclx, decltype(&heif_nclx_color_profile_free)> nclx(
        nclxRaw, &heif_nclx_color_profile_free);
    if (got.code != heif_error_Ok || !nclx)
        return {};
    return profileOfNclx(*nclx);
}

// Decodes one picture of the file into 8-bit RGB (with alpha where it has
// one), turned and mirrored as the file says and a grid put together.
QImage decodeHandle(const heif_image_handle* handle, bool av1)
{
    const bool alpha = heif_image_handle_has_alpha_channel(handle) != 0;
    HeifOptionsPtr options(heif_decoding_options_alloc());
    if (!options)
        return {};
    options->convert_hdr_to_8bit = 1;
    // AV1 through aom: Debian 12's dav1d writes to standard error and leaks
    // on a damaged file, and the command line reports a refusal in one line.
    if (av1)
        options->decoder_id = "aom";
    heif_image* decodedRaw = nullptr;
    const heif_error decoded = heif_decode_image(
        handle, &decodedRaw, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    HeifImagePtr image(decodedRaw);
    if (decoded.code != heif_error_Ok || !image)
        return {};
    int stride = 0;
    const uint8_t* pixels =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (!pixels || width <= 0 || height <= 0)
        return {};
    // A view of libheif's pixels, converted into an image of our own before
    // they are released.
    const QImage view(pixels, width, height, stride,
                      alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    QImage converted = view.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.reset();
    // Into sRGB before alpha is multiplied in, as the colour is given.
    convertToSrgb(converted, colourProfileOf(handle));
    if (alpha)
        converted.convertTo(QImage::Format_ARGB32_Premultiplied);
    return converted;
}

} // namespace

QList<QByteArray> heifFileSuffixes()
{
    return {"heic", "heif", "avif"};
}

namespace {

// Whether the file says it holds AV1 pictures (AVIF).
bool isAvifFile(const QByteArray& bytes)
{
    if (bytes.size() < 12)
        return false;
    const heif_brand brand =
        heif_main_brand(reinterpret_cast<const uint8_t*>(bytes.constData()), 12);
    return brand == heif_avif || brand == heif_avis;
}

} // namespace

bool isHeifFile(QByteArrayView bytes)
{
    if (bytes.size() < 12)
        return false;
    return heif_check_filetype(reinterpret_cast<const uint8_t*>(bytes.data()), 12) ==
           heif_filetype_yes_supported;
}

HeifHeader readHeifHeader(const QByteArray& bytes)
{
    HeifHeader header;
    const OpenedHeif opened = openHeif(bytes);
    if (!opened.primary) {
        if (opened.problem == heif_suberror_Security_limit_exceeded)
            header.reading = HeifHeader::Reading::TooLarge;
        return header;
    }
    header.size = handleSize(opened.primary.get());
    if (!header.size.isValid() || header.size.isEmpty())
        return header;
    header.hasThumbnail = heif_image_handle_get_number_of_thumbnails(opened.primary.get()) > 0;
    header.profileUse = profileUseFor(QImage::Format_RGB32, colourProfileOf(opened.primary.get()));
    header.reading = HeifHeader::Reading::Read;
    return header;
}

QImage decodeHeif(const QByteArray& bytes, QSize expected)
{
    const OpenedHeif opened = openHeif(bytes);
    if (!opened.primary || handleSize(opened.primary.get()) != expected)
        return {};
    QImage image = decodeHandle(opened.primary.get(), isAvifFile(bytes));
    if (image.size() != expected)
        return {};
    return image;
}

QImage decodeHeifThumbnail(const QByteArray& bytes)
{
    const OpenedHeif opened = openHeif(bytes);
    if (!opened.primary)
        return {};
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_thumbnail_IDs(opened.primary.get(), &id, 1) != 1)
        return {};
    heif_image_handle* thumbnailRaw = nullptr;
    const heif_error got = heif_image_handle_get_thumbnail(opened.primary.get(), id, &thumbnailRaw);
    const HeifHandlePtr thumbnail(thumbnailRaw);
    if (got.code != heif_error_Ok || !thumbnail)
        return {};
    return decodeHandle(thumbnail.get(), isAvifFile(bytes));
}

} // namespace zorvane
