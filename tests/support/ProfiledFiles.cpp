#include "ProfiledFiles.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <tiffio.h>
#include <zlib.h>

namespace zorvane::test {
namespace {

QByteArray encoded(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image))
        qFatal("cannot encode a test picture as %s", format);
    return bytes;
}

QByteArray be32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// Writes rows of the given components through libjpeg into memory.
QByteArray writeJpeg(int width, int height, int components, J_COLOR_SPACE space, const uchar* rows,
                     qsizetype bytesPerLine, const QByteArray& profile, int quality)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    if (!profile.isEmpty())
        jpeg_write_icc_profile(&info, reinterpret_cast<const JOCTET*>(profile.constData()),
                               unsigned(profile.size()));
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rows + qsizetype(info.next_scanline) * bytesPerLine);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

QByteArray chunk(const QByteArray& type, const QByteArray& data)
{
    const QByteArray typed = type + data;
    const uLong crc =
        crc32(0, reinterpret_cast<const Bytef*>(typed.constData()), uInt(typed.size()));
    return be32(quint32(data.size())) + typed + be32(quint32(crc));
}

QByteArray riffChunk(const QByteArray& type, const QByteArray& data)
{
    QByteArray out = type + le32(quint32(data.size())) + data;
    if (data.size() % 2)
        out.append('\0');
    return out;
}

} // namespace

QByteArray jpegWithProfile(const QImage& image, const QByteArray& profile, int quality)
{
    if (image.format() == QImage::Format_Grayscale8)
        return writeJpeg(image.width(), image.height(), 1, JCS_GRAYSCALE, image.constBits(),
                         image.bytesPerLine(), profile, quality);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    return writeJpeg(rgb.width(), rgb.height(), 3, JCS_RGB, rgb.constBits(), rgb.bytesPerLine(),
                     profile, quality);
}

QByteArray cmykJpegWithProfile(int width, int height, const QByteArray& samples,
                               const QByteArray& profile)
{
    return writeJpeg(width, height, 4, JCS_CMYK,
                     reinterpret_cast<const uchar*>(samples.constData()), qsizetype(width) * 4,
                     profile, 95);
}

QByteArray pngWithChunks(const QImage& image, const QList<PngChunk>& chunks)
{
    QByteArray png = encoded(image, "png");
    QByteArray extra;
    for (const PngChunk& c : chunks)
        extra += chunk(c.type, c.data);
    constexpr qsizetype afterHeader = 8 + 25;
    png.insert(afterHeader, extra);
    return png;
}

PngChunk iccpChunk(const QByteArray& profile)
{
    uLongf size = compressBound(uLong(profile.size()));
    QByteArray compressed(qsizetype(size), '\0');
    compress(reinterpret_cast<Bytef*>(compressed.data()), &size,
             reinterpret_cast<const Bytef*>(profile.constData()), uLong(profile.size()));
    compressed.resize(qsizetype(size));
    return {"iCCP", QByteArray("profile\0\0", 9) + compressed};
}

PngChunk gamaChunk(double gamma)
{
    return {"gAMA", be32(quint32(gamma * 100000 + 0.5))};
}

PngChunk chrmChunk(const QList<double>& whiteRedGreenBlueXy)
{
    QByteArray data;
    for (double v : whiteRedGreenBlueXy)
        data += be32(quint32(v * 100000 + 0.5));
    return {"cHRM", data};
}

QByteArray tiffWithProfile(const QImage& image, const QByteArray& profile)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    QTemporaryDir dir;
    const QByteArray path = dir.filePath(QStringLiteral("p.tif")).toLocal8Bit();
    TIFF* tiff = TIFFOpen(path.constData(), "w");
    if (!tiff)
        qFatal("cannot write a test TIFF");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(rgb.width()));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(rgb.height()));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, uint32_t(rgb.height()));
    if (!profile.isEmpty())
        TIFFSetField(tiff, TIFFTAG_ICCPROFILE, uint32_t(profile.size()), profile.constData());
    for (int y = 0; y < rgb.height(); ++y)
        TIFFWriteScanline(tiff, const_cast<uchar*>(rgb.constScanLine(y)), uint32_t(y), 0);
    TIFFClose(tiff);
    QFile file(QString::fromLocal8Bit(path));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QByteArray webpWithProfile(const QImage& image, const QByteArray& profile)
{
    const QByteArray simple = encoded(image.convertToFormat(QImage::Format_RGB32), "webp", 100);
    // The file's one image chunk, after RIFF, its size and WEBP.
    const QByteArray type = simple.mid(12, 4);
    if (type != "VP8 " && type != "VP8L")
        qFatal("the WebP writer wrote an extended file");
    const QByteArray imageChunk = simple.mid(12);
    QByteArray vp8x(10, '\0');
    vp8x[0] = char(0x20); // ICC profile present
    qToLittleEndian<quint32>(quint32(image.width() - 1), vp8x.data() + 4);
    qToLittleEndian<quint32>(quint32(image.height() - 1), vp8x.data() + 7);
    vp8x.resize(10);
    const QByteArray body =
        "WEBP" + riffChunk("VP8X", vp8x) + riffChunk("ICCP", profile) + imageChunk;
    return "RIFF" + le32(quint32(body.size())) + body;
}

QByteArray paddedProfile(const QByteArray& profile, qsizetype size)
{
    QByteArray padded = profile;
    padded.resize(size, '\0');
    qToBigEndian<quint32>(quint32(size), padded.data());
    return padded;
}

} // namespace zorvane::test
