#include "PngAsJpeg.h"

#include "picture/ColourProfile.h"
#include "picture/ImageLibraryNoise.h"

#include <png.h>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <cstring>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace zorvane {
namespace {

// No chunk this transcoding reads needs more: image data is read a little
// at a time, and text or colour profiles a few kilobytes long are all it
// could meet. libpng would otherwise allocate whatever a damaged chunk's
// length says, gigabytes, before finding the file shorter.
constexpr png_alloc_size_t largestChunkBytes = 8'000'000;

// libpng and libjpeg report errors by a long jump back to the setjmp of
// the transcoding. Everything the jump must leave intact lives here, outside
// the function that calls setjmp, which holds no object with a destructor.
struct Transcoding
{
    std::jmp_buf jump;
    png_structp png = nullptr;
    png_infop info = nullptr;
    jpeg_compress_struct jpeg{};
    jpeg_error_mgr jpegErrors{};
    jpeg_destination_mgr destination{};
    bool jpegCreated = false;
    std::vector<JSAMPLE> row;
    std::vector<JSAMPLE> converted; // the row in sRGB, for a file with a profile
    std::unique_ptr<RgbRowConverter> profile;
    std::vector<JOCTET> chunk = std::vector<JOCTET>(64 * 1024);
    QByteArray output;
};

struct PngSource
{
    const QByteArray* bytes = nullptr;
    qsizetype at = 0;
};

void readBytes(png_structp png, png_bytep out, png_size_t length)
{
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > size_t(source->bytes->size() - source->at))
        png_error(png, "the file ends early");
    std::memcpy(out, source->bytes->constData() + source->at, length);
    source->at += qsizetype(length);
}

[[noreturn]] void pngError(png_structp png, png_const_charp message)
{
    qCDebug(lcImageLibraries, "libpng: %s", message);
    std::longjmp(static_cast<Transcoding*>(png_get_error_ptr(png))->jump, 1);
}

void pngWarning(png_structp, png_const_charp message)
{
    qCDebug(lcImageLibraries, "libpng: %s", message);
}

[[noreturn]] void jpegError(j_common_ptr jpeg)
{
    std::longjmp(static_cast<Transcoding*>(jpeg->client_data)->jump, 1);
}

void jpegMessage(j_common_ptr) {}

// The encoder's output gathered in chunks, so nothing but the JPEG itself
// grows with the picture.
Transcoding& owner(j_compress_ptr jpeg)
{
    return *static_cast<Transcoding*>(jpeg->client_data);
}

void startOutput(j_compress_ptr jpeg)
{
    Transcoding& t = owner(jpeg);
    t.destination.next_output_byte = t.chunk.data();
    t.destination.free_in_buffer = t.chunk.size();
}

boolean passChunk(j_compress_ptr jpeg)
{
    Transcoding& t = owner(jpeg);
    t.output.append(reinterpret_cast<const char*>(t.chunk.data()), qsizetype(t.chunk.size()));
    startOutput(jpeg);
    return TRUE;
}

void endOutput(j_compress_ptr jpeg)
{
    Transcoding& t = owner(jpeg);
    t.output.append(reinterpret_cast<const char*>(t.chunk.data()),
                    qsizetype(t.chunk.size() - t.destination.free_in_buffer));
}

// Whether the PNG holds pixels this transcoding takes, and if so, asks
// libpng to hand them over as 8-bit RGB.
bool askForRgbRows(png_structp png, png_infop info, bool withProfile)
{
    const int type = png_get_color_type(png, info);
    if (png_get_interlace_type(png, info) != PNG_INTERLACE_NONE ||
        (type & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0 ||
        (withProfile && type == PNG_COLOR_TYPE_GRAY))
        return false;
    if (type == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY) {
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    // Colours are converted from the file's 16 bits, and cut to 8 after.
    const bool sixteen = png_get_bit_depth(png, info) == 16;
    if (sixteen && !withProfile)
        png_set_scale_16(png);
    png_read_update_info(png, info);
    return png_get_rowbytes(png, info) ==
           size_t(png_get_image_width(png, info)) * (sixteen && withProfile ? 6 : 3);
}

void startJpeg(Transcoding& t, int quality)
{
    t.jpeg.err = jpeg_std_error(&t.jpegErrors);
    t.jpegErrors.error_exit = jpegError;
    t.jpegErrors.output_message = jpegMessage;
    jpeg_create_compress(&t.jpeg);
    t.jpegCreated = true;
    t.jpeg.client_data = &t;
    t.destination.init_destination = startOutput;
    t.destination.empty_output_buffer = passChunk;
    t.destination.term_destination = endOutput;
    t.jpeg.dest = &t.destination;
    t.jpeg.image_width = png_get_image_width(t.png, t.info);
    t.jpeg.image_height = png_get_image_height(t.png, t.info);
    t.jpeg.input_components = 3;
    t.jpeg.in_color_space = JCS_RGB;
    jpeg_set_defaults(&t.jpeg);
    jpeg_set_quality(&t.jpeg, quality, TRUE);
    jpeg_start_compress(&t.jpeg, TRUE);
}

bool transcode(Transcoding& t, int quality, const QByteArray& iccProfile)
{
    if (setjmp(t.jump))
        return false;
    png_read_info(t.png, t.info);
    if (!askForRgbRows(t.png, t.info, !iccProfile.isEmpty()))
        return false;
    t.row.resize(png_get_rowbytes(t.png, t.info));
    if (!iccProfile.isEmpty()) {
        t.profile =
            std::make_unique<RgbRowConverter>(iccProfile, png_get_bit_depth(t.png, t.info) == 16);
        if (!t.profile->valid())
            return false;
        t.converted.resize(size_t(png_get_image_width(t.png, t.info)) * 3);
    }
    startJpeg(t, quality);
    JSAMPROW rows[1] = {t.profile ? t.converted.data() : t.row.data()};
    for (JDIMENSION y = 0; y < t.jpeg.image_height; ++y) {
        png_read_row(t.png, t.row.data(), nullptr);
        if (t.profile)
            t.profile->convert(t.row.data(), t.converted.data(), int(t.jpeg.image_width));
        jpeg_write_scanlines(&t.jpeg, rows, 1);
    }
    jpeg_finish_compress(&t.jpeg);
    // The rest of the file is read too, so damage after the last row is
    // not passed over.
    png_read_end(t.png, nullptr);
    return true;
}

} // namespace

QByteArray pngAsJpeg(const QByteArray& png, int quality, const QByteArray& iccProfile)
{
    constexpr size_t signatureBytes = 8;
    if (png.size() < qsizetype(signatureBytes) ||
        png_sig_cmp(reinterpret_cast<png_const_bytep>(png.constData()), 0, signatureBytes) != 0)
        return {};
    Transcoding t;
    t.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &t, pngError, pngWarning);
    t.info = t.png ? png_create_info_struct(t.png) : nullptr;
    bool done = false;
    if (t.info) {
        PngSource source{&png, 0};
        png_set_read_fn(t.png, &source, readBytes);
        png_set_chunk_malloc_max(t.png, largestChunkBytes);
        // libpng only warns of a chunk over the limit, and of other damage
        // it can read past, and reads on; here either ends the transcoding,
        // and the export takes the engine's way with Qt's decoder instead.
        png_set_benign_errors(t.png, 0);
        const ImageLibraryNoiseScope quiet;
        done = transcode(t, quality, iccProfile);
    }
    if (t.jpegCreated)
        jpeg_destroy_compress(&t.jpeg);
    if (t.png)
        png_destroy_read_struct(&t.png, t.info ? &t.info : nullptr, nullptr);
    return done ? std::move(t.output) : QByteArray();
}

} // namespace zorvane
