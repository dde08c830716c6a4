#include "TicketNumbers.h"

#include "DrawingSurface.h"

#include <QFontMetricsF>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace zorvane {
namespace {

constexpr double numberTenthsPerInch = 254.0;

const QFontMetricsF& numberMetrics()
{
    static const QFontMetricsF metrics(numberFace());
    return metrics;
}

double digitInkHeight()
{
    static const double height = numberMetrics().tightBoundingRect(u"0123456789"_s).height();
    return height > 0 ? height : numberFaceEm * 0.7;
}

// The text's top-left ink corner, placed in an upright ticket.
QPointF inkCorner(TicketSize upright, QSizeF ink, int inset, NumberPosition position)
{
    const double right = upright.width - inset - ink.width();
    const double bottom = upright.height - inset - ink.height();
    switch (position) {
    case NumberPosition::TopLeft:
        return {double(inset), double(inset)};
    case NumberPosition::TopRight:
        return {right, double(inset)};
    case NumberPosition::BottomLeft:
        return {double(inset), bottom};
    case NumberPosition::BottomRight:
        return {right, bottom};
    case NumberPosition::Centre:
        break;
    }
    return {(upright.width - ink.width()) / 2, (upright.height - ink.height()) / 2};
}

QColor numberColour(int rgb)
{
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

} // namespace

QFont numberFace()
{
    QFont font(u"Noto Sans Mono CJK JP"_s);
    font.setStyleHint(QFont::Monospace);
    font.setWeight(QFont::Normal);
    font.setPixelSize(numberFaceEm);
    // Outlines as designed: the same ink on the screen, the printer and a PDF.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QRectF numberInk(const QString& text)
{
    return numberMetrics().tightBoundingRect(text);
}

double emForDigitHeight(int inkHeight)
{
    return inkHeight * numberFaceEm / digitInkHeight();
}

std::optional<PlacedNumber> placeNumber(TicketSize upright, const QString& text,
                                        const NumberingValues& values, NumberPosition position)
{
    return placeMeasuredNumber(upright, text, numberInk(text), values, position);
}

std::optional<PlacedNumber> placeMeasuredNumber(TicketSize upright, const QString& text,
                                                const QRectF& unit, const NumberingValues& values,
                                                NumberPosition position)
{
    const double em = emForDigitHeight(values.height);
    const double scale = em / numberFaceEm;
    const QSizeF ink(unit.width() * scale, unit.height() * scale);
    const int inset = position == NumberPosition::Centre ? 0 : values.inset;
    // A hair of slack, so an ink that exactly fills the room still fits.
    constexpr double slack = 1e-6;
    if (ink.width() + inset > upright.width + slack ||
        ink.height() + inset > upright.height + slack)
        return std::nullopt;
    const QPointF corner = inkCorner(upright, ink, inset, position);
    PlacedNumber placed;
    placed.text = text;
    placed.em = em;
    placed.origin = corner - unit.topLeft() * scale;
    placed.ink = QRectF(corner, ink);
    return placed;
}

bool runNumbersFit(const SheetJob& job)
{
    if (!job.numbering.enabled || !job.ticket)
        return true;
    const TicketSize upright = laidOutSize(*job.ticket, job.turned());
    // Numbers only grow longer along a run: the first and the last bound
    // every ink between them in a fixed-pitch face.
    const qint64 last = std::max(job.firstNumber, lastNumber(job.numbering, job.count));
    for (const qint64 number : {job.firstNumber, last}) {
        const QString text = numberText(job.numbering, number);
        if (!placeNumber(upright, text, job.numbering, job.numbering.position))
            return false;
        if (job.numbering.stubPosition &&
            !placeNumber(upright, text, job.numbering, *job.numbering.stubPosition))
            return false;
    }
    return true;
}

QRectF backingBox(const PlacedNumber& number, TicketSize upright)
{
    const double margin = number.ink.height() / 4;
    return number.ink.adjusted(-margin, -margin, margin, margin)
        .intersected(QRectF(0, 0, upright.width, upright.height));
}

QTransform uprightToDevice(TicketSize laidOut, bool turned, QPoint topLeftPixel, int dpiX, int dpiY)
{
    QTransform t;
    if (turned) // (u, v) -> (width - v, u): the top edge runs down the right edge
        t = QTransform(0, 1, -1, 0, laidOut.width, 0);
    t *= QTransform::fromScale(dpiX / numberTenthsPerInch, dpiY / numberTenthsPerInch);
    t *= QTransform::fromTranslate(topLeftPixel.x(), topLeftPixel.y());
    return t;
}

void drawTicketNumber(DrawingSurface& surface, const SheetJob& job, TicketSize laidOut,
                      QPoint topLeftPixel, qint64 number)
{
    if (!job.numbering.enabled)
        return;
    const TicketSize upright = laidOutSize(laidOut, job.turned());
    const QTransform toDevice = uprightToDevice(laidOut, job.turned(), topLeftPixel,
                                                surface.pixelsPerInchX(), surface.pixelsPerInchY());
    const QString text = numberText(job.numbering, number);
    const QRectF unit = numberInk(text); // measured once for the number and its stub
    std::vector<NumberPosition> positions{job.numbering.position};
    if (job.numbering.stubPosition)
        positions.push_back(*job.numbering.stubPosition);
    for (const NumberPosition position : positions) {
        const std::optional<PlacedNumber> placed =
            placeMeasuredNumber(upright, text, unit, job.numbering, position);
        if (!placed)
            continue;
        if (job.numbering.backing)
            surface.fillArea(backingBox(*placed, upright), toDevice, Qt::white);
        const double scale = placed->em / numberFaceEm;
        const QTransform textToDevice =
            QTransform::fromScale(scale, scale) *
            QTransform::fromTranslate(placed->origin.x(), placed->origin.y()) * toDevice;
        surface.drawText(text, textToDevice, numberColour(job.numbering.colour));
    }
}

} // namespace zorvane
