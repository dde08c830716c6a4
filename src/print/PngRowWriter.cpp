#include "PngRowWriter.h"

#include "picture/ImageLibraryNoise.h"

#include <QIODevice>
#include <QImage>

#include <png.h>
#include <zlib.h>

#include <csetjmp>

namespace zorvane {

// libpng reports errors by a long jump back to the setjmp of the call in
// progress. Every call into it is made from a function that holds no object
// with a destructor between the setjmp and the call, so the jump skips none.
struct PngRowWriter::State
{
    QIODevice* device = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    QSize size;
    int rowsWritten = 0;
    bool failed = false;
    bool finished = false;
};

namespace {

void writeBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* device = static_cast<QIODevice*>(png_get_io_ptr(png));
    if (device->write(reinterpret_cast<const char*>(data), qint64(length)) != qint64(length))
        png_error(png, "write failed");
}

void flushNothing(png_structp) {}

void quietWarning(png_structp, png_const_charp) {}

// A failed write is reported by the caller in one line of its own; the
// library's words go to the debug log only.
[[noreturn]] void quietError(png_structp png, png_const_charp message)
{
    qCDebug(lcImageLibraries, "libpng: %s", message);
    png_longjmp(png, 1);
}

bool writeHeader(png_structp png, png_infop info, QSize size, int dotsPerMetre)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, png_uint_32(size.width()), png_uint_32(size.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png, info, png_uint_32(dotsPerMetre), png_uint_32(dotsPerMetre),
                 PNG_RESOLUTION_METER);
    // Every picture is drawn in sRGB, converted from its own profile where
    // it has one; the file says so, so colour-managed viewers show it as the
    // preview does.
    png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    // A sheet is mostly white, with photos in its tickets: the "sub" filter
    // turns white runs into zeros and a photo's rows into small differences,
    // and deflate level 3 packs them within 1.2 times the library's default
    // settings' file in under a third of their time (level 1 saves a fifth
    // of the time for a quarter more bytes).
    constexpr int deflateLevel = 3;
    png_set_compression_level(png, deflateLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    // Memory holds each pixel as the 32-bit value 0xffRRGGBB: on a
    // little-endian machine the bytes B, G, R and an unused one.
    if (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        png_set_bgr(png);
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    } else {
        png_set_filler(png, 0, PNG_FILLER_BEFORE);
    }
    return true;
}

bool writeRowsOf(png_structp png, const uchar* first, qsizetype stride, int rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    for (int row = 0; row < rows; ++row)
        png_write_row(png, first + row * stride);
    return true;
}

bool writeEnd(png_structp png, png_infop info)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_write_end(png, info);
    return true;
}

} // namespace

PngRowWriter::PngRowWriter(QIODevice& device, QSize size, int dotsPerMetre)
    : state_(std::make_unique<State>())
{
    State& s = *state_;
    s.device = &device;
    s.size = size;
    s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    s.info = s.png ? png_create_info_struct(s.png) : nullptr;
    if (!s.png || !s.info || size.isEmpty()) {
        s.failed = true;
        return;
    }
    png_set_write_fn(s.png, &device, writeBytes, flushNothing);
    s.failed = !writeHeader(s.png, s.info, size, dotsPerMetre);
}

PngRowWriter::~PngRowWriter()
{
    if (state_->png)
        png_destroy_write_struct(&state_->png, state_->info ? &state_->info : nullptr);
}

bool PngRowWriter::writeRows(const QImage& band, int rows)
{
    State& s = *state_;
    if (s.failed || s.finished || band.format() != QImage::Format_RGB32 ||
        band.width() != s.size.width() || rows < 0 || rows > band.height() ||
        rows > s.size.height() - s.rowsWritten) {
        s.failed = true;
        return false;
    }
    s.failed = !writeRowsOf(s.png, band.constBits(), band.bytesPerLine(), rows);
    s.rowsWritten += rows;
    return !s.failed;
}

bool PngRowWriter::finish()
{
    State& s = *state_;
    if (s.failed || s.finished || s.rowsWritten != s.size.height())
        return false;
    s.finished = true;
    s.failed = !writeEnd(s.png, s.info);
    return !s.failed;
}

} // namespace zorvane
