#include "CmykJpeg.h"

#include "ColourProfile.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace zorvane {
namespace {

struct CmykJpegFailure
{
    std::jmp_buf jump;
};

void stopCmykJpeg(j_common_ptr info)
{
    std::longjmp(static_cast<CmykJpegFailure*>(info->client_data)->jump, 1);
}

void ignoreCmykJpegMessage(j_common_ptr, int) {}

// Kept apart from the setjmp frame, and holding no object with a
// destructor, which a longjmp out of the decoder would skip.
bool readRows(jpeg_decompress_struct& info, const CmykRowConverter& converter, QImage& image,
              int eighths)
{
    info.out_color_space = JCS_CMYK;
    info.scale_num = unsigned(eighths);
    info.scale_denom = 8;
    jpeg_start_decompress(&info);
    if (info.output_components != 4)
        return false;
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (image.isNull())
        return false;
    JSAMPROW samples = static_cast<JSAMPROW>((*info.mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, info.output_width * 4));
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        if (jpeg_read_scanlines(&info, &samples, 1) != 1)
            return false;
        converter.convert(samples, reinterpret_cast<QRgb*>(image.scanLine(y)),
                          int(info.output_width));
    }
    return true;
}

} // namespace

QImage decodeCmykJpeg(QByteArrayView file, const QByteArray& profile, bool inverted, int eighths)
{
    const CmykRowConverter converter(profile, inverted);
    if (!converter.valid())
        return {};
    QImage image;
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    CmykJpegFailure failure;
    info.err = jpeg_std_error(&errors);
    errors.error_exit = stopCmykJpeg;
    errors.emit_message = ignoreCmykJpegMessage;
    info.client_data = &failure;
    jpeg_create_decompress(&info);
    volatile bool done = false;
    if (setjmp(failure.jump) == 0) {
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(file.data()),
                     static_cast<unsigned long>(file.size()));
        jpeg_read_header(&info, TRUE);
        done = readRows(info, converter, image, eighths);
    }
    jpeg_destroy_decompress(&info);
    return done ? image : QImage();
}

} // namespace zorvane
