#include "HeifPicture.h"

#include <libheif/heif.h>

#include <memory>

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
    if (got.code != heif_error_Ok) {
        opened.problem = got.subcode;
        return opened;
    }
    opened.primary.reset(primary);
    return opened;
}

QSize handleSize(const heif_image_handle* handle)
{
    return QSize(heif_image_handle_get_width(handle), heif_image_handle_get_height(handle));
}

// Decodes one picture of the file into 8-bit RGB (with alpha where it has
// one), turned and mirrored as the file says and a grid put together.
QImage decodeHandle(const heif_image_handle* handle)
{
    const bool alpha = heif_image_handle_has_alpha_channel(handle) != 0;
    HeifOptionsPtr options(heif_decoding_options_alloc());
    if (!options)
        return {};
    options->convert_hdr_to_8bit = 1;
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
    return view.convertToFormat(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

} // namespace

QList<QByteArray> heifFileSuffixes()
{
    return {"heic", "heif", "avif"};
}

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
    header.reading = HeifHeader::Reading::Read;
    return header;
}

QImage decodeHeif(const QByteArray& bytes, QSize expected)
{
    const OpenedHeif opened = openHeif(bytes);
    if (!opened.primary || handleSize(opened.primary.get()) != expected)
        return {};
    QImage image = decodeHandle(opened.primary.get());
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
    if (heif_image_handle_get_thumbnail(opened.primary.get(), id, &thumbnailRaw).code !=
        heif_error_Ok)
        return {};
    const HeifHandlePtr thumbnail(thumbnailRaw);
    return decodeHandle(thumbnail.get());
}

} // namespace zorvane
