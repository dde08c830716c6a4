#pragma once

#include "settings/PrinterCorrection.h"

#include <QPointF>
#include <QTransform>

#include <optional>

namespace zorvane {

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
