#pragma once

#include <QRect>

class QFont;
class QPaintDevice;

namespace zorvane {

// Converts dialog units into pixels for one dialog font, the way the dialog
// templates were laid out: the base width is the average advance of "A".."Z"
// and "a".."z", the base height the font's height.
class DialogUnits
{
public:
    DialogUnits() = default;
    DialogUnits(int baseWidth, int baseHeight) : baseWidth_(baseWidth), baseHeight_(baseHeight) {}

    // The base units of a font as drawn on the given device.
    static DialogUnits of(const QFont& font, QPaintDevice* device);

    int baseWidth() const { return baseWidth_; }
    int baseHeight() const { return baseHeight_; }

    int toPixelsX(int dialogUnits) const;
    int toPixelsY(int dialogUnits) const;
    QRect toPixels(const QRect& dialogUnits) const;
    QSize toPixels(const QSize& dialogUnits) const;

private:
    int baseWidth_ = 0;
    int baseHeight_ = 0;
};

} // namespace zorvane
