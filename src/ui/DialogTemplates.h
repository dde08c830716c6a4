#pragma once

#include "DialogTemplate.h"

namespace zorvane {

// Control ids of the three dialogs. The ids name the widgets, so tests and
// the store's key names find them.
namespace ids {

inline constexpr int ok = 1;
inline constexpr int cancel = 2;

namespace main {
inline constexpr int close = 2;
inline constexpr int imagePath = 1000;
inline constexpr int printStart = 1001;
inline constexpr int typeA = 1002;
inline constexpr int typeB = 1003;
inline constexpr int typeD = 1004;
inline constexpr int typeOther = 1005;
inline constexpr int customWidth = 1006;
inline constexpr int customHeight = 1007;
inline constexpr int detailSettings = 1008;
inline constexpr int browsePicture = 1009;
inline constexpr int resolution = 1010;
inline constexpr int previewBox = 1011;
inline constexpr int paperA4 = 1012;
inline constexpr int paperB5 = 1013;
inline constexpr int paperA4Quarter = 1014;
inline constexpr int count = 1015;
inline constexpr int rowsFirst = 1016;
inline constexpr int columnsFirst = 1017;
inline constexpr int keepAspect = 1018;
} // namespace main

namespace detail {
inline constexpr int offsetX = 1000;
inline constexpr int frameRed = 1001;
inline constexpr int frameGreen = 1002;
inline constexpr int offsetY = 1006;
inline constexpr int gapV = 1007;
inline constexpr int frameBlue = 1008;
inline constexpr int gapH = 1010;
inline constexpr int swatch = 1011;
inline constexpr int fontPercent = 1012;
inline constexpr int maxRows = 1015;
inline constexpr int maxCols = 1016;
inline constexpr int drawFrame = 1018;
inline constexpr int chooseColor = 1020;
inline constexpr int limitGrid = 1021;
} // namespace detail

namespace correction {
inline constexpr int printerName = 1000;
inline constexpr int nearX = 1001;
inline constexpr int nearY = 1002;
inline constexpr int farX = 1003;
inline constexpr int farY = 1004;
inline constexpr int current = 1005;
inline constexpr int reset = 1006;
} // namespace correction

} // namespace ids

// Template 100: the About box.
const DialogTemplate& aboutDialogTemplate();
// Template 102: the main window.
const DialogTemplate& mainDialogTemplate();
// Template 129: the advanced settings.
const DialogTemplate& detailDialogTemplate();
// Template 130: the printer's position correction.
const DialogTemplate& correctionDialogTemplate();

// The accessible names of the fields of the main window and of the advanced
// settings. Buttons, check boxes and radio buttons are named by their text.
std::span<const ControlName> mainDialogNames();
std::span<const ControlName> detailDialogNames();
std::span<const ControlName> correctionDialogNames();

} // namespace zorvane
