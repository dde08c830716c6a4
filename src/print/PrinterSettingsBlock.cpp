#include "PrinterSettingsBlock.h"

#include "DeviceModeLayout.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace zorvane {

PrinterSettingsBlock::PrinterSettingsBlock() : bytes_(blockSize, '\0')
{
    writeU16(devmode::specVersion, devmode::layoutVersion);
    writeU16(devmode::size, devmode::publicSize);
    writeU16(devmode::driverExtra, driverExtraCapacity);
}

bool PrinterSettingsBlock::within(int offset, int width) const
{
    return offset >= 0 && width >= 0 && offset <= size() - width;
}

std::uint16_t PrinterSettingsBlock::readU16(int offset) const
{
    if (!within(offset, 2))
        return 0;
    return qFromLittleEndian<std::uint16_t>(bytes_.constData() + offset);
}

std::int16_t PrinterSettingsBlock::readI16(int offset) const
{
    if (!within(offset, 2))
        return 0;
    return qFromLittleEndian<std::int16_t>(bytes_.constData() + offset);
}

std::uint32_t PrinterSettingsBlock::readU32(int offset) const
{
    if (!within(offset, 4))
        return 0;
    return qFromLittleEndian<std::uint32_t>(bytes_.constData() + offset);
}

namespace {

constexpr int sizesBegin = devmode::size;
constexpr int sizesEnd = devmode::driverExtra + 2;

bool touchesSizes(int offset, int width)
{
    return offset < sizesEnd && offset + width > sizesBegin;
}

} // namespace

// The two sizes must keep describing a record inside the block, so a write
// that touches them is refused when the sum would grow too large.
bool PrinterSettingsBlock::sizesFitAfterWrite(int offset, int width, std::uint32_t value)
{
    if (!touchesSizes(offset, width))
        return true;
    QByteArray trial = bytes_.mid(sizesBegin, sizesEnd - sizesBegin);
    for (int i = 0; i < width; ++i) {
        const int at = offset + i - sizesBegin;
        if (at >= 0 && at < trial.size())
            trial[at] = char((value >> (8 * i)) & 0xFF);
    }
    const int sum = qFromLittleEndian<std::uint16_t>(trial.constData()) +
                    qFromLittleEndian<std::uint16_t>(trial.constData() + 2);
    return sum <= size();
}

void PrinterSettingsBlock::writeU16(int offset, std::uint16_t value)
{
    if (!within(offset, 2) || !sizesFitAfterWrite(offset, 2, value))
        return;
    qToLittleEndian(value, bytes_.data() + offset);
}

void PrinterSettingsBlock::writeI16(int offset, std::int16_t value)
{
    writeU16(offset, std::uint16_t(value));
}

void PrinterSettingsBlock::writeU32(int offset, std::uint32_t value)
{
    if (!within(offset, 4) || !sizesFitAfterWrite(offset, 4, value))
        return;
    qToLittleEndian(value, bytes_.data() + offset);
}

QByteArray PrinterSettingsBlock::readText(int offset, int width) const
{
    if (!within(offset, width))
        return {};
    const char* begin = bytes_.constData() + offset;
    const char* end = std::find(begin, begin + width, '\0');
    return QByteArray(begin, end - begin);
}

void PrinterSettingsBlock::writeText(int offset, int width, QByteArrayView text)
{
    if (width <= 0 || !within(offset, width) || touchesSizes(offset, width))
        return;
    const int length = std::min<int>(int(text.size()), width - 1);
    char* field = bytes_.data() + offset;
    std::memset(field, 0, size_t(width));
    if (length > 0)
        std::memcpy(field, text.data(), size_t(length));
}

std::uint16_t PrinterSettingsBlock::dmSize() const
{
    return readU16(devmode::size);
}

std::uint16_t PrinterSettingsBlock::dmDriverExtra() const
{
    return readU16(devmode::driverExtra);
}

std::uint32_t PrinterSettingsBlock::dmFields() const
{
    return readU32(devmode::fields);
}

bool PrinterSettingsBlock::publicPartCovers(int offset, int width) const
{
    return offset >= 0 && width >= 0 && offset + width <= dmSize();
}

QByteArrayView PrinterSettingsBlock::driverExtra() const
{
    return QByteArrayView(bytes_).sliced(dmSize(), dmDriverExtra());
}

QByteArray PrinterSettingsBlock::record() const
{
    return bytes_.first(recordLength());
}

bool PrinterSettingsBlock::overlay(QByteArrayView stored)
{
    if (stored.size() > size())
        return false;
    if (stored.isEmpty())
        return true;
    QByteArray merged = bytes_;
    std::memcpy(merged.data(), stored.data(), size_t(stored.size()));
    const int claimed = qFromLittleEndian<std::uint16_t>(merged.constData() + devmode::size) +
                        qFromLittleEndian<std::uint16_t>(merged.constData() + devmode::driverExtra);
    if (claimed > size())
        return false;
    bytes_ = merged;
    return true;
}

void PrinterSettingsBlock::setDriverExtra(QByteArrayView tail)
{
    const int begin = dmSize();
    const int capacity = size() - begin;
    const int length = std::min<int>(int(tail.size()), capacity);
    std::memset(bytes_.data() + begin, 0, size_t(capacity));
    if (length > 0)
        std::memcpy(bytes_.data() + begin, tail.data(), size_t(length));
    writeU16(devmode::driverExtra, std::uint16_t(capacity));
}

} // namespace zorvane
