#pragma once

#include "DialogTemplate.h"

#include <array>

namespace zorvane {

namespace ids::numbering {
inline constexpr int enabled = 1000;
inline constexpr int start = 1001;
inline constexpr int digits = 1002;
inline constexpr int prefix = 1003;
inline constexpr int suffix = 1004;
inline constexpr int height = 1005;
// The five places in NumberPosition's order, then "なし" and the five again
// for the stub.
inline constexpr std::array positions{1010, 1011, 1012, 1013, 1014};
inline constexpr int inset = 1015;
inline constexpr int noStub = 1020;
inline constexpr std::array stubPositions{1021, 1022, 1023, 1024, 1025};
inline constexpr int swatch = 1030;
inline constexpr int chooseColor = 1031;
inline constexpr int backing = 1032;
inline constexpr int sheets = 1033;
inline constexpr int range = 1034;
} // namespace ids::numbering

// The numbering dialog: numbers on the tickets and the sheets of one print.
const DialogTemplate& numberingDialogTemplate();
std::span<const ControlName> numberingDialogNames();

} // namespace zorvane
