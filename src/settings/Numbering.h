#pragma once

#include <QString>

#include <optional>

namespace zorvane {

class SettingsStore;

// Where a ticket's number stands, in the ticket as it stands upright.
enum class NumberPosition
{
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
    Centre,
};

// How a run of sheets is numbered, and how many sheets one print makes.
// Kept in its own store section; with the defaults (numbering off, one
// sheet) a run is the single sheet it always was.
struct NumberingValues
{
    bool enabled = false;
    int start = 1;  // the number of the run's first ticket
    int digits = 0; // zero-padded to this many digits; 0 leaves it as is
    QString prefix;
    QString suffix;
    int height = 40; // the digits' ink height, tenths of a millimetre
    NumberPosition position = NumberPosition::BottomRight;
    int inset = 30; // from the ticket's edges at that corner, tenths of a millimetre
    std::optional<NumberPosition> stubPosition; // the same number again, on a stub
    int colour = 0x000000;                      // 0xRRGGBB
    bool backing = false;                       // a white box under the number
    int sheets = 1;                             // sheets in one print

    friend bool operator==(const NumberingValues&, const NumberingValues&) = default;
};

namespace numberingLimits {
inline constexpr int maxStart = 999'999'999;
inline constexpr int maxDigits = 9;
inline constexpr int maxSheets = 999;
inline constexpr int minHeight = 10; // 1 mm
inline constexpr int maxHeight = 500;
inline constexpr int maxInset = 1000;
inline constexpr int maxAffixLength = 10;
} // namespace numberingLimits

namespace numberingMessages {
// Shown when a number cannot stand inside its ticket at the asked height:
// numbers are refused, never clipped.
inline constexpr char16_t doesNotFit[] =
    u"番号がチケットに収まりません。\n文字の高さ、位置または文字数を変更して下さい。";
} // namespace numberingMessages

// Stored values outside their ranges read as the defaults, so a hand-edited
// store never asks for a thousand-digit number or a negative sheet count.
NumberingValues loadNumberingValues(const SettingsStore& store);
void saveNumberingValues(SettingsStore& store, const NumberingValues& values);

// The number's text: prefix, the number zero-padded to the digits, suffix.
QString numberText(const NumberingValues& values, qint64 number);

// The last number a run of the given sheets of count tickets uses.
qint64 lastNumber(const NumberingValues& values, int count);

// What the next print will use, as "1〜90 (3枚)"; the sheets alone, as
// "(3枚)", with numbering off.
QString numberRangeText(const NumberingValues& values, int count);

// The values once a run of count tickets a sheet has printed: the start
// follows the last printed number. Unchanged with numbering off.
NumberingValues afterPrintedRun(const NumberingValues& values, int count);

// After a completed print on a printer: the next start is stored, alone,
// so the next run never repeats a number. Nothing with numbering off.
void saveStartAfterPrintedRun(SettingsStore& store, const NumberingValues& values, int count);

// The store keys of the positions: 0 to 4 in the enum's order, -1 for none.
int positionCode(std::optional<NumberPosition> position);
std::optional<NumberPosition> positionOfCode(int code);

} // namespace zorvane
