#include "EmbeddedProfile.h"

#include "ColourProfile.h"

#include <QtEndian>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <zlib.h>

namespace zorvane {
namespace {

struct JpegFailure
{
    std::jmp_buf jump;
};

void stopJpeg(j_common_ptr info)
{
    std::longjmp(static_cast<JpegFailure*>(info->client_data)->jump, 1);
}

void ignoreJpegMessage(j_common_ptr, int) {}

// Inflates a PNG's compressed profile, giving up past the size no real
// profile reaches: a few bytes of deflate data can claim gigabytes.
QByteArray inflateBounded(QByteArrayView compressed)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return {};
    QByteArray out;
    char chunk[16384];
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = uInt(compressed.size());
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        status = inflate(&stream, Z_NO_FLUSH);
        const bool headerDone = out.size() >= 4;
        out.append(chunk, qsizetype(sizeof chunk - stream.avail_out));
        // A profile starts with its own size: one that states less than its
        // header or more than any real profile is refused before the rest is
        // inflated, and room for the rest is made once.
        if (!headerDone && out.size() >= 4) {
            const quint32 stated = qFromBigEndian<quint32>(out.constData());
            if (stated < 128 || stated > quint32(maxIccProfileBytes))
                status = Z_DATA_ERROR;
            else
                out.reserve(qsizetype(stated));
        }
        if (out.size() > maxIccProfileBytes ||
            (status == Z_OK && stream.avail_in == 0 && stream.avail_out != 0))
            status = Z_DATA_ERROR;
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END ? out : QByteArray();
}

struct PngChromaticity
{
    bool present = false;
    cmsCIExyY white{};
    cmsCIExyYTRIPLE primaries{};
};

PngChromaticity readChrm(QByteArrayView data)
{
    PngChromaticity c;
    if (data.size() != 32)
        return c;
    double v[8];
    for (int i = 0; i < 8; ++i)
        v[i] = qFromBigEndian<quint32>(data.data() + 4 * i) / 100000.0;
    c.white = {v[0], v[1], 1.0};
    c.primaries = {{v[2], v[3], 1.0}, {v[4], v[5], 1.0}, {v[6], v[7], 1.0}};
    c.present = true;
    return c;
}

bool near(double a, double b)
{
    return std::abs(a - b) < 0.002;
}

bool isSrgbChromaticity(const PngChromaticity& c)
{
    return near(c.white.x, 0.3127) && near(c.white.y, 0.3290) && near(c.primaries.Red.x, 0.64) &&
           near(c.primaries.Red.y, 0.33) && near(c.primaries.Green.x, 0.30) &&
           near(c.primaries.Green.y, 0.60) && near(c.primaries.Blue.x, 0.15) &&
           near(c.primaries.Blue.y, 0.06);
}

// gAMA and cHRM without a profile. A gamma of 1/2.2 on sRGB's primaries (or
// none stated) is how most programs say sRGB, and is taken so, as browsers
// do, so such files stay as they are.
QByteArray profileFromPngChunks(quint32 gama, const PngChromaticity& chrm)
{
    const bool srgbGamma = gama == 0 || (gama >= 45000 && gama <= 46000);
    if (srgbGamma && (!chrm.present || isSrgbChromaticity(chrm)))
        return {};
    const ToneCurve curve = gama == 0 ? ToneCurve::srgb() : ToneCurve::power(100000.0 / gama);
    return chrm.present ? rgbProfileFor(chrm.white, chrm.primaries, curve) : rgbProfileFor(curve);
}

EmbeddedColour withProfile(QByteArray profile)
{
    EmbeddedColour colour;
    colour.profile = std::move(profile);
    return colour;
}

EmbeddedColour unreadableProfile()
{
    EmbeddedColour colour;
    colour.unreadable = true;
    return colour;
}

} // namespace

EmbeddedColour jpegColour(QByteArrayView file)
{
    EmbeddedColour colour;
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    JpegFailure failure;
    info.err = jpeg_std_error(&errors);
    errors.error_exit = stopJpeg;
    errors.emit_message = ignoreJpegMessage;
    info.client_data = &failure;
    jpeg_create_decompress(&info);
    JOCTET* icc = nullptr;
    unsigned int iccLength = 0;
    if (setjmp(failure.jump) == 0) {
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(file.data()),
                     static_cast<unsigned long>(file.size()));
        jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
        jpeg_read_header(&info, TRUE);
        colour.cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
        colour.invertedCmyk = colour.cmyk && info.saw_Adobe_marker;
        if (jpeg_read_icc_profile(&info, &icc, &iccLength) && icc) {
            if (qsizetype(iccLength) <= maxIccProfileBytes)
                colour.profile =
                    QByteArray(reinterpret_cast<const char*>(icc), qsizetype(iccLength));
            else
                colour.unreadable = true;
        }
    }
    std::free(icc);
    jpeg_destroy_decompress(&info);
    return colour;
}

EmbeddedColour pngColour(QByteArrayView file)
{
    quint32 gama = 0;
    PngChromaticity chrm;
    qsizetype at = 8;
    while (at + 12 <= file.size()) {
        const quint32 length = qFromBigEndian<quint32>(file.data() + at);
        const QByteArrayView type = file.sliced(at + 4, 4);
        if (length > quint32(file.size() - at - 12) || type == "IDAT" || type == "IEND")
            break;
        const QByteArrayView data = file.sliced(at + 8, qsizetype(length));
        if (type == "iCCP") {
            const qsizetype nameEnd = data.indexOf('\0');
            if (nameEnd < 0 || nameEnd + 2 > data.size() || data[nameEnd + 1] != 0)
                return unreadableProfile();
            QByteArray profile = inflateBounded(data.sliced(nameEnd + 2));
            return profile.isEmpty() ? unreadableProfile() : withProfile(std::move(profile));
        }
        if (type == "sRGB")
            return {};
        if (type == "gAMA" && length == 4)
            gama = qFromBigEndian<quint32>(data.data());
        if (type == "cHRM")
            chrm = readChrm(data);
        at += 12 + qsizetype(length);
    }
    return withProfile(profileFromPngChunks(gama, chrm));
}

EmbeddedColour tiffColour(QByteArrayView file)
{
    if (file.size() < 8)
        return {};
    const bool little = file.startsWith("II");
    if (!little && !file.startsWith("MM"))
        return {};
    const auto u16 = [&](qsizetype at) {
        return little ? qFromLittleEndian<quint16>(file.data() + at)
                      : qFromBigEndian<quint16>(file.data() + at);
    };
    const auto u32 = [&](qsizetype at) {
        return little ? qFromLittleEndian<quint32>(file.data() + at)
                      : qFromBigEndian<quint32>(file.data() + at);
    };
    if (u16(2) != 42)
        return {};
    const qsizetype ifd = u32(4);
    if (ifd + 2 > file.size())
        return {};
    const int entries = u16(ifd);
    constexpr quint16 iccTag = 34675;
    for (int i = 0; i < entries; ++i) {
        const qsizetype entry = ifd + 2 + 12 * qsizetype(i);
        if (entry + 12 > file.size())
            return {};
        if (u16(entry) != iccTag)
            continue;
        const quint32 count = u32(entry + 4);
        const quint32 offset = u32(entry + 8);
        if (count <= 4 || count > quint32(maxIccProfileBytes) || offset > quint64(file.size()) ||
            count > quint64(file.size()) - offset)
            return unreadableProfile();
        return withProfile(file.sliced(offset, count).toByteArray());
    }
    return {};
}

EmbeddedColour webpColour(QByteArrayView file)
{
    if (file.size() < 12 || !file.startsWith("RIFF") || file.sliced(8, 4) != "WEBP")
        return {};
    qsizetype at = 12;
    while (at + 8 <= file.size()) {
        const quint32 length = qFromLittleEndian<quint32>(file.data() + at + 4);
        if (length > quint32(file.size() - at - 8))
            return {};
        if (file.sliced(at, 4) == "ICCP")
            return length <= quint32(maxIccProfileBytes)
                       ? withProfile(file.sliced(at + 8, qsizetype(length)).toByteArray())
                       : unreadableProfile();
        at += 8 + qsizetype(length) + (length & 1);
    }
    return {};
}

EmbeddedColour embeddedColour(QByteArrayView file, const QByteArray& format)
{
    if (format == "jpeg")
        return jpegColour(file);
    if (format == "png")
        return pngColour(file);
    if (format == "tiff")
        return tiffColour(file);
    if (format == "webp")
        return webpColour(file);
    return {};
}

} // namespace zorvane
