#pragma once

#include "DeviceModeLayout.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace zorvane {

// The memory block that holds the printer's device-mode record while the
// program runs: the public part (DeviceModeLayout.h) followed by the
// driver-private tail. Every block has the same size, so a record that one
// block held always fits into another.
//
// Numbers are read and written little-endian whatever the host. Accesses
// that would reach past the block read as 0 and write nothing, and no write
// can make dmSize + dmDriverExtra exceed the block's size.
class PrinterSettingsBlock
{
public:
    static constexpr int driverExtraCapacity = 2048;
    static constexpr int blockSize = devmode::publicSize + driverExtraCapacity;

    // A blank record: every field 0 except the layout version and the two
    // sizes, which span the whole block.
    PrinterSettingsBlock();

    int size() const { return int(bytes_.size()); }
    QByteArrayView bytes() const { return bytes_; }

    std::uint16_t readU16(int offset) const;
    std::int16_t readI16(int offset) const;
    std::uint32_t readU32(int offset) const;
    void writeU16(int offset, std::uint16_t value);
    void writeI16(int offset, std::int16_t value);
    void writeU32(int offset, std::uint32_t value);

    // A NUL-terminated text in a field of the given width; without a NUL
    // the whole field.
    QByteArray readText(int offset, int width) const;
    // Writes at most width - 1 bytes and a NUL, padding the rest with NULs.
    void writeText(int offset, int width, QByteArrayView text);

    std::uint16_t dmSize() const;
    std::uint16_t dmDriverExtra() const;
    std::uint32_t dmFields() const;
    // The bytes that make up the record: dmSize + dmDriverExtra.
    int recordLength() const { return dmSize() + dmDriverExtra(); }
    // True when the public part reaches over the whole field, so it holds a
    // value rather than the first bytes of the tail or nothing.
    bool publicPartCovers(int offset, int width) const;
    QByteArrayView driverExtra() const;
    QByteArray record() const;

    // Lays the bytes of a stored record over the start of the block. A
    // record longer than the block, or one whose own sizes claim more than
    // the block holds, is refused and the block stays as it was.
    bool overlay(QByteArrayView stored);

    // Replaces the tail with the given bytes, padded with NULs to the
    // capacity; bytes beyond the capacity are dropped.
    void setDriverExtra(QByteArrayView tail);

private:
    bool within(int offset, int width) const;
    bool sizesFitAfterWrite(int offset, int width, std::uint32_t value);

    QByteArray bytes_;
};

} // namespace zorvane
