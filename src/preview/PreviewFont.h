#pragma once

#include <QFont>

class QPaintDevice;

namespace zorvane {

// The preview text's font size, from the standard font's character cell
// height and average character width: each multiplied by 0.6, then by the
// percentage, divided by 100, truncated toward zero. 0 leaves that size to
// the platform's default.
struct PreviewFontSize
{
    int height = 0;
    int width = 0;

    friend bool operator==(const PreviewFontSize&, const PreviewFontSize&) = default;
};

PreviewFontSize previewFontSize(int cellHeight, int averageWidth, int fontPercent);

// The preview's fixed-pitch Japanese Gothic, sized from the standard font's
// metrics on the device: its glyphs stand as tall as the asked cell height
// (a face's ink is shorter than its cell), and its half-width characters
// are as wide as the asked average width.
QFont previewFont(const QFont& standard, const QPaintDevice* device, int fontPercent);

} // namespace zorvane
