#pragma once

#include <cstdint>

// The public layout of the platform's device-mode record (DEVMODEA) that the
// printer settings file keeps: byte offsets and widths of its fields, the
// flags that say which fields hold values, and the codes of those values.
// All numbers in the record are little-endian.
namespace zorvane::devmode {

inline constexpr int publicSize = 156;
inline constexpr std::uint16_t layoutVersion = 0x0401;
// The version of our own driver-private tail format.
inline constexpr std::uint16_t tailVersion = 1;

inline constexpr int nameWidth = 32; // including the terminating NUL

// Offsets
inline constexpr int deviceName = 0;
inline constexpr int specVersion = 32;
inline constexpr int driverVersion = 34;
inline constexpr int size = 36;
inline constexpr int driverExtra = 38;
inline constexpr int fields = 40;
inline constexpr int orientation = 44;
inline constexpr int paperSize = 46;
inline constexpr int paperLength = 48;
inline constexpr int paperWidth = 50;
inline constexpr int scale = 52;
inline constexpr int copies = 54;
inline constexpr int defaultSource = 56;
inline constexpr int printQuality = 58;
inline constexpr int color = 60;
inline constexpr int duplex = 62;
inline constexpr int yResolution = 64;
inline constexpr int ttOption = 66;
inline constexpr int collate = 68;
inline constexpr int formName = 70;

// Bits of the field set
inline constexpr std::uint32_t hasOrientation = 0x00000001;
inline constexpr std::uint32_t hasPaperSize = 0x00000002;
inline constexpr std::uint32_t hasPaperLength = 0x00000004;
inline constexpr std::uint32_t hasPaperWidth = 0x00000008;
inline constexpr std::uint32_t hasCopies = 0x00000100;
inline constexpr std::uint32_t hasPrintQuality = 0x00000400;
inline constexpr std::uint32_t hasColor = 0x00000800;
inline constexpr std::uint32_t hasDuplex = 0x00001000;
inline constexpr std::uint32_t hasYResolution = 0x00002000;
inline constexpr std::uint32_t hasCollate = 0x00008000;
inline constexpr std::uint32_t hasFormName = 0x00010000;

// Values
inline constexpr std::int16_t portrait = 1;
inline constexpr std::int16_t landscape = 2;
inline constexpr std::int16_t monochrome = 1;
inline constexpr std::int16_t colour = 2;
inline constexpr std::int16_t simplex = 1;
inline constexpr std::int16_t duplexLongEdge = 2;
inline constexpr std::int16_t duplexShortEdge = 3;
inline constexpr std::int16_t paperA4 = 9;
inline constexpr std::int16_t paperB5Jis = 13;
inline constexpr std::int16_t paperUser = 256;

} // namespace zorvane::devmode
