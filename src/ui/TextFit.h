#pragma once

#include "DialogTemplate.h"
#include "DialogUnits.h"

#include <QSize>

#include <vector>

class QWidget;

namespace zorvane {

// A control of a built dialog beside the template row it came from.
struct PlacedControl
{
    const ControlTemplate* row = nullptr;
    QWidget* widget = nullptr;
};

// Keeps every label, radio button and check box text whole. The templates
// were laid out for a narrower face than the Gothic face this platform has,
// so a text may need more room than its box gives: the box then grows to
// the right (a wrapping label also downwards) into free space, never over
// another control, out of its group box or off the dialog. A text that still
// does not fit is drawn a little smaller.
class TextFit
{
public:
    TextFit(std::vector<PlacedControl> placed, QSize dialogSize, const DialogUnits& units);

    void fitAll();

    // The smallest point size a text is drawn in.
    static constexpr double smallestPointSize = 7.5;

private:
    void fit(const PlacedControl& control);
    bool fits(const QWidget* widget) const;
    int rightLimit(const PlacedControl& control) const;
    int bottomLimit(const PlacedControl& control) const;
    void widen(const PlacedControl& control);
    void deepen(const PlacedControl& control);
    void shrinkFont(QWidget* widget) const;

    std::vector<PlacedControl> placed_;
    QSize dialogSize_;
    int gapX_ = 0;
    int gapY_ = 0;
    int groupInsetX_ = 0;
    int groupInsetY_ = 0;
};

// Whether a control's text is drawn whole in its current box.
bool textFits(const QWidget* widget);

} // namespace zorvane
