#pragma once

#include <QPointF>
#include <QTransform>

#include <optional>

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
    double placedTenths(double intendedTenths) const;
    // What to send the printer so the mark lands at targetTenths.
    double intendedTenths(double targetTenths) const;

    bool operator==(const AxisCorrection&) const = default;
};

struct PositionCorrection
{
    AxisCorrection x;
    AxisCorrection y;

    bool operator==(const PositionCorrection&) const = default;
};

// Why two measured points give no correction.
enum class CorrectionFault
{
    ScaleOutOfRange, // the points imply a scale outside 0.9 to 1.1
    OffPaper,        // a measured point lies beyond the paper's edge
};

struct AxisDerivation
{
    std::optional<AxisCorrection> correction;
    std::optional<CorrectionFault> fault; // set exactly when correction is not
};

// Two marks of one axis, meant for nominalNear and nominalFar, were measured
// at measuredNear and measuredFar; all in tenths of a millimetre from the
// paper's edge, and a measured point must lie on a paper extentTenths long.
// A printer that puts the marks further apart or closer together than 10 %
// has been measured wrongly rather than built that way, so that is refused.
AxisDerivation deriveAxisCorrection(int nominalNear, int nominalFar, int measuredNear,
                                    int measuredFar, int extentTenths);

// The transform from sheet pixels (origin at the paper's corner, as the
// preview and the file export draw) to a printer's device pixels (origin at
// its printable area's corner, printableOrigin pixels from the paper's
// corner) such that, after the printer's own misplacement, every point lands
// where the sheet put it.
QTransform correctedSheetToDevice(const PositionCorrection& correction, double dpiX, double dpiY,
                                  QPointF printableOrigin);

} // namespace zorvane
