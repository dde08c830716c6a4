#include "LargeJpeg.h"

#include <QFile>

#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace zorvane::test {
namespace {

void putRgb(std::vector<JSAMPLE>& row, int from, int to, QRgb colour)
{
    for (int x = from; x < to; ++x) {
        row[std::size_t(x) * 3] = JSAMPLE(qRed(colour));
        row[std::size_t(x) * 3 + 1] = JSAMPLE(qGreen(colour));
        row[std::size_t(x) * 3 + 2] = JSAMPLE(qBlue(colour));
    }
}

} // namespace

bool writeLargeJpeg(const QString& path, QSize size, const QuarterColours& colours)
{
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(size.width());
    info.image_height = JDIMENSION(size.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 50, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> top(std::size_t(size.width()) * 3);
    std::vector<JSAMPLE> bottom(top.size());
    const int half = size.width() / 2;
    putRgb(top, 0, half, colours.topLeft);
    putRgb(top, half, size.width(), colours.topRight);
    putRgb(bottom, 0, half, colours.bottomLeft);
    putRgb(bottom, half, size.width(), colours.bottomRight);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = int(info.next_scanline) < size.height() / 2 ? top.data() : bottom.data();
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

} // namespace zorvane::test
