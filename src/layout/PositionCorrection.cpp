#include "PositionCorrection.h"

#include "settings/WideMath.h"

#include <QtGlobal>

#include <cmath>

namespace zorvane {
namespace {

constexpr double tenthsPerInch = 254.0;
constexpr qint64 micrometresPerTenth = 100;

// a ÷ b rounded half away from zero; b > 0.
qint64 roundedQuotient(qint64 a, qint64 b)
{
    return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b);
}

} // namespace

AxisDerivation deriveAxisCorrection(int nominalNear, int nominalFar, int measuredNear,
                                    int measuredFar, int extentTenths)
{
    const auto refused = [](CorrectionFault fault) { return AxisDerivation{std::nullopt, fault}; };
    if (measuredNear < 0 || measuredFar < 0 || measuredNear > extentTenths ||
        measuredFar > extentTenths)
        return refused(CorrectionFault::OffPaper);

    // The range test runs on whole numbers, so the limits themselves are
    // accepted exactly; the marks' distance on paper is positive.
    const qint64 nominalSpan = qint64(nominalFar) - nominalNear;
    const qint64 measuredSpan = qint64(measuredFar) - measuredNear;
    if (nominalSpan <= 0 ||
        measuredSpan * AxisCorrection::unitScale < nominalSpan * AxisCorrection::minScale ||
        measuredSpan * AxisCorrection::unitScale > nominalSpan * AxisCorrection::maxScale)
        return refused(CorrectionFault::ScaleOutOfRange);

    AxisCorrection axis;
    axis.scaleMillionths =
        int(roundedQuotient(measuredSpan * AxisCorrection::unitScale, nominalSpan));
    // The shift follows from the near mark and the scale as stored, so the
    // near mark is reproduced to the micrometre.
    const qint64 shift =
        roundedQuotient(qint64(measuredNear) * micrometresPerTenth * AxisCorrection::unitScale -
                            qint64(nominalNear) * micrometresPerTenth * axis.scaleMillionths,
                        AxisCorrection::unitScale);
    axis.shiftMicrometres = clampToInt(shift);
    return {axis, std::nullopt};
}

QTransform correctedSheetToDevice(const PositionCorrection& correction, double dpiX, double dpiY,
                                  QPointF printableOrigin)
{
    // A sheet pixel u means the paper position u; the printer must be sent
    // the position it misplaces onto u, counted from its printable corner.
    const double sx = correction.x.scale();
    const double sy = correction.y.scale();
    const double shiftX = correction.x.shiftTenths() * dpiX / tenthsPerInch;
    const double shiftY = correction.y.shiftTenths() * dpiY / tenthsPerInch;
    return QTransform(1.0 / sx, 0.0, 0.0, 1.0 / sy, -shiftX / sx - printableOrigin.x(),
                      -shiftY / sy - printableOrigin.y());
}

} // namespace zorvane
