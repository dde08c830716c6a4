#include "PictureFileCheck.h"

#include <QtEndian>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace zorvane {
namespace {

// A cursor over the file bytes that refuses to read past the end.
class ByteCursor
{
public:
    explicit ByteCursor(QByteArrayView data) : data_(data) {}

    bool atEnd() const { return pos_ >= data_.size(); }
    bool has(qsizetype count) const { return count >= 0 && data_.size() - pos_ >= count; }
    qsizetype position() const { return pos_; }
    void seek(qsizetype pos) { pos_ = pos; }

    bool skip(qsizetype count)
    {
        if (!has(count))
            return false;
        pos_ += count;
        return true;
    }

    int byteAt(qsizetype offset) const { return quint8(data_[pos_ + offset]); }

    int takeByte()
    {
        const int value = byteAt(0);
        ++pos_;
        return value;
    }

    // The offset of the next 0xFF at or after the cursor, or -1.
    qsizetype nextFF() const
    {
        const void* hit = std::memchr(data_.data() + pos_, 0xFF, size_t(data_.size() - pos_));
        return hit ? static_cast<const char*>(hit) - data_.data() : -1;
    }

private:
    QByteArrayView data_;
    qsizetype pos_ = 0;
};

bool startsWith(QByteArrayView data, QByteArrayView prefix)
{
    return data.size() >= prefix.size() && data.first(prefix.size()) == prefix;
}

quint16 le16(QByteArrayView data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.data() + at);
}

quint32 le32(QByteArrayView data, qsizetype at)
{
    return qFromLittleEndian<quint32>(data.data() + at);
}

quint32 be32(QByteArrayView data, qsizetype at)
{
    return qFromBigEndian<quint32>(data.data() + at);
}

bool isStandaloneJpegMarker(int marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// Entropy-coded data stuffs every 0xFF as FF 00 and holds only restart
// markers, so the next other marker ends it.
bool skipEntropyCodedData(ByteCursor& cursor)
{
    while (!cursor.atEnd()) {
        const qsizetype ff = cursor.nextFF();
        if (ff < 0)
            return false;
        cursor.seek(ff);
        if (!cursor.has(2))
            return false;
        const int next = cursor.byteAt(1);
        if (next != 0x00 && next != 0xFF && !isStandaloneJpegMarker(next))
            return true;
        cursor.skip(next == 0xFF ? 1 : 2);
    }
    return false;
}

// Skips a GIF's chain of data sub-blocks up to and including its terminator.
bool skipGifSubBlocks(ByteCursor& cursor)
{
    while (cursor.has(1)) {
        const int length = cursor.takeByte();
        if (length == 0)
            return true;
        if (!cursor.skip(length))
            return false;
    }
    return false;
}

qsizetype gifColourTableBytes(int packedFields)
{
    return (packedFields & 0x80) ? 3 * (qsizetype(2) << (packedFields & 0x07)) : 0;
}

// What the decoder reported while reading the scanlines. Running out of
// bytes (JWRN_JPEG_EOF) is harmless by itself: the decoder reads ahead, and
// at the end of a file without its end marker it runs out after the last
// scanline's data. Needing bits that are not there (JWRN_HIT_MARKER) means
// the image data was cut off; any other warning, that it is damaged.
struct ScanlineCheck
{
    std::jmp_buf failed;
    bool damaged = false;
};

void stopOnError(j_common_ptr info)
{
    std::longjmp(static_cast<ScanlineCheck*>(info->client_data)->failed, 1);
}

void noteWarning(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code != JWRN_JPEG_EOF)
        static_cast<ScanlineCheck*>(info->client_data)->damaged = true;
}

// Decodes every scanline of a sequential JPEG (at an eighth of the size: the
// entropy-coded data is read in full all the same) and says whether all of
// them came from the file's own data.
bool everyJpegScanlineDecodes(QByteArrayView data)
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    ScanlineCheck check;
    info.err = jpeg_std_error(&errors);
    errors.error_exit = stopOnError;
    errors.emit_message = noteWarning;
    info.client_data = &check;
    jpeg_create_decompress(&info);
    volatile bool complete = false;
    if (setjmp(check.failed) == 0) {
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.data()),
                     static_cast<unsigned long>(data.size()));
        jpeg_read_header(&info, TRUE);
        // A progressive file is read whole before its first scanline, and
        // one cut between or inside its later scans still decodes, only
        // blurred: without its end marker it cannot be told complete.
        if (info.progressive_mode) {
            jpeg_destroy_decompress(&info);
            return false;
        }
        info.scale_num = 1;
        info.scale_denom = 8;
        jpeg_start_decompress(&info);
        JSAMPARRAY row =
            (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                      info.output_width * info.output_components, 1);
        while (!check.damaged && info.output_scanline < info.output_height)
            jpeg_read_scanlines(&info, row, 1);
        complete = !check.damaged && info.output_scanline == info.output_height;
    }
    jpeg_destroy_decompress(&info);
    return complete;
}

// Walks the markers up to the end of image.
bool jpegEndsWithItsMarker(QByteArrayView data)
{
    ByteCursor cursor(data);
    if (!cursor.skip(2))
        return false;
    while (!cursor.atEnd()) {
        const qsizetype ff = cursor.nextFF();
        if (ff < 0)
            return false;
        cursor.seek(ff);
        while (cursor.has(1) && cursor.byteAt(0) == 0xFF)
            cursor.skip(1); // fill bytes
        if (!cursor.has(1))
            return false;
        const int marker = cursor.takeByte();
        if (marker == 0xD9)
            return true;
        if (isStandaloneJpegMarker(marker))
            continue;
        if (!cursor.has(2))
            return false;
        const int length = (cursor.byteAt(0) << 8) | cursor.byteAt(1);
        if (length < 2 || !cursor.skip(length))
            return false;
        if (marker == 0xDA && !skipEntropyCodedData(cursor))
            return false;
    }
    return false;
}

} // namespace

// A file whose 2-byte end marker is missing, as many cameras and tools
// write them, still holds all its image data; the walk cannot tell it from
// a file cut off in the scan data, the decoder can.
bool isCompleteJpeg(QByteArrayView data)
{
    return jpegEndsWithItsMarker(data) || everyJpegScanlineDecodes(data);
}

bool isCompleteBmp(QByteArrayView data)
{
    constexpr qsizetype fileHeaderSize = 14;
    if (data.size() < fileHeaderSize + 12)
        return false;
    const qint64 pixelOffset = le32(data, 10);
    const quint32 infoSize = le32(data, 14);
    qint64 width = 0;
    qint64 height = 0;
    int bitsPerPixel = 0;
    quint32 compression = 0;
    quint32 imageSize = 0;
    if (infoSize == 12) {
        width = le16(data, 18);
        height = le16(data, 20);
        bitsPerPixel = le16(data, 24);
    } else {
        if (data.size() < fileHeaderSize + 40)
            return false;
        width = qint32(le32(data, 18));
        height = qint32(le32(data, 22));
        bitsPerPixel = le16(data, 28);
        compression = le32(data, 30);
        imageSize = le32(data, 34);
    }
    constexpr quint32 plainRgb = 0;
    constexpr quint32 bitFields = 3;
    constexpr quint32 alphaBitFields = 6;
    if (compression != plainRgb && compression != bitFields && compression != alphaBitFields)
        return pixelOffset + qint64(imageSize) <= data.size(); // run-length coded
    // Width and height are at most 2^31 and a pixel at most 65535 bits, so a
    // row's size fits easily; the rows' total need not, hence the division.
    const qint64 rowBytes = (qAbs(width) * bitsPerPixel + 31) / 32 * 4;
    const qint64 room = qint64(data.size()) - pixelOffset;
    if (room < 0)
        return false;
    return rowBytes == 0 || qAbs(height) <= room / rowBytes;
}

bool isCompletePngStructure(QByteArrayView data)
{
    constexpr qsizetype signatureSize = 8;
    constexpr qsizetype chunkOverhead = 12; // length, type and checksum
    constexpr quint32 maxChunkLength = 0x7FFFFFFF;
    ByteCursor cursor(data);
    if (!cursor.skip(signatureSize))
        return false;
    while (!cursor.atEnd()) {
        if (!cursor.has(chunkOverhead))
            return false;
        const qsizetype at = cursor.position();
        const quint32 length = be32(data, at);
        if (length > maxChunkLength || !cursor.skip(chunkOverhead + qsizetype(length)))
            return false;
        if (data.sliced(at + 4, 4) == "IEND")
            return true; // whatever follows the end is not read
    }
    return true; // the decoder tells a missing end itself
}

bool isCompleteGifFirstFrame(QByteArrayView data)
{
    constexpr qsizetype headerSize = 13; // signature and logical screen descriptor
    ByteCursor cursor(data);
    if (!cursor.has(headerSize))
        return false;
    const int screenFields = quint8(data[10]);
    if (!cursor.skip(headerSize + gifColourTableBytes(screenFields)))
        return false;
    while (cursor.has(1)) {
        const int introducer = cursor.takeByte();
        if (introducer == 0x21) { // extension: label, then sub-blocks
            if (!cursor.skip(1) || !skipGifSubBlocks(cursor))
                return false;
        } else if (introducer == 0x2C) { // image: descriptor, colours, code size, data
            if (!cursor.has(9))
                return false;
            const int imageFields = cursor.byteAt(8);
            if (!cursor.skip(9 + gifColourTableBytes(imageFields)) || !cursor.skip(1))
                return false;
            return skipGifSubBlocks(cursor);
        } else {
            return false; // the trailer or garbage before any image
        }
    }
    return false;
}

bool isCompletePictureFile(QByteArrayView data)
{
    if (startsWith(data, "\xFF\xD8\xFF"))
        return isCompleteJpeg(data);
    if (startsWith(data, "BM"))
        return isCompleteBmp(data);
    if (startsWith(data, "GIF8"))
        return isCompleteGifFirstFrame(data);
    if (startsWith(data, "\x89PNG\r\n\x1A\n"))
        return isCompletePngStructure(data);
    return true;
}

} // namespace zorvane
