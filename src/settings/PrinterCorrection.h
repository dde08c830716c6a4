#pragma once

namespace zorvane {

// How one axis of a printer misplaces what it prints: a mark meant for
// position p on the paper (from the paper's left or top edge) lands at
// p × scale + shift. Kept in whole millionths and micrometres, the units it
// is stored in, so a correction read back is exactly the one derived.
struct AxisCorrection
{
    static constexpr int unitScale = 1'000'000; // millionths per 1.0
    static constexpr int minScale = 900'000;
    static constexpr int maxScale = 1'100'000;

    int scaleMillionths = unitScale;
    int shiftMicrometres = 0;

    double scale() const { return scaleMillionths / double(unitScale); }
    double shiftTenths() const { return shiftMicrometres / 100.0; }

    // Where the printer puts a mark meant for intendedTenths.
    double placedTenths(double intendedTenths) const
    {
        return intendedTenths * scale() + shiftTenths();
    }
    // What to send the printer so the mark lands at targetTenths.
    double intendedTenths(double targetTenths) const
    {
        return (targetTenths - shiftTenths()) / scale();
    }

    bool operator==(const AxisCorrection&) const = default;
};

struct PositionCorrection
{
    AxisCorrection x;
    AxisCorrection y;

    bool operator==(const PositionCorrection&) const = default;
};

} // namespace zorvane
