#pragma once

#include "Catalogue.h"

#include <QSize>

namespace zorvane {

// Lengths are kept in tenths of a millimetre (sizes, offsets, gaps) or in
// whole millimetres (the papers); devices count pixels per inch.
inline constexpr double millimetresPerInch = 25.4;
inline constexpr double tenthsOfMmPerInch = 254.0;
inline constexpr double metresPerInch = 0.0254;

// Pixels for a length in tenths of a millimetre at the given pixels per
// inch: the whole product, divided by 254.0, truncated toward zero (also for
// negative lengths). The product is formed in 64 bits.
int pixelsFromTenths(int tenths, int pixelsPerInch);

// Pixels for a length in whole millimetres, truncated toward zero.
int pixelsFromMillimetres(int millimetres, int pixelsPerInch);

// A paper's page in pixels, portrait, each side truncated: A4 at 96 dpi is
// 793 x 1122. The preview's page and the exported picture both take this
// size, so the file shows what the preview showed.
QSize pagePixelSize(PaperKind paper, int dpiX, int dpiY);

// A length in tenths of a millimetre as millimetres with one decimal.
QString millimetresText(int tenths);

// The resolution as image files record it.
int dotsPerMetre(int pixelsPerInch);

} // namespace zorvane
