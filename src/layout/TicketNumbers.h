#pragma once

#include "settings/Catalogue.h"
#include "settings/Numbering.h"
#include "settings/SheetJob.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <optional>
#include <vector>

namespace zorvane {

class DrawingSurface;

// The numbers' face: a fixed-pitch Japanese Gothic whose digits every PDF
// reader can turn back into text. Every surface draws it at numberFaceEm
// units to the em under a transform, so all place it alike.
QFont numberFace();
inline constexpr int numberFaceEm = 1000;

// A number's text as it stands in an upright ticket, in tenths of a
// millimetre from the ticket's top-left corner: the font's em, the
// baseline's start and the ink's box.
struct PlacedNumber
{
    QString text;
    double em = 0;
    QPointF origin;
    QRectF ink;
};

// The text's ink box at an em of numberFaceEm, from its baseline's start.
QRectF numberInk(const QString& text);

// The em that gives the digits the asked ink height, tenths of a millimetre.
double emForDigitHeight(int inkHeight);

// The text placed at a position of an upright ticket, the ink inset from
// the edges of that corner (centred for the centre); none when its ink
// does not fit inside the ticket.
std::optional<PlacedNumber> placeNumber(TicketSize upright, const QString& text,
                                        const NumberingValues& values, NumberPosition position);

// The same for a text whose ink (numberInk) is already measured.
std::optional<PlacedNumber> placeMeasuredNumber(TicketSize upright, const QString& text,
                                                const QRectF& unit, const NumberingValues& values,
                                                NumberPosition position);

// Whether every number of the job's run fits in its ticket at both asked
// positions. True with numbering off.
bool runNumbersFit(const SheetJob& job);

// The white box under a placed number: its ink with a margin, kept inside
// the ticket.
QRectF backingBox(const PlacedNumber& number, TicketSize upright);

// From a ticket's upright frame (tenths of a millimetre) to device pixels,
// for a ticket whose laid-out top-left pixel is given; a turned ticket's
// frame is turned a quarter clockwise with its picture.
QTransform uprightToDevice(TicketSize laidOut, bool turned, QPoint topLeftPixel, int dpiX,
                           int dpiY);

// Draws the ticket's number (and its stub's) at the job's positions;
// nothing with numbering off or where the number does not fit.
void drawTicketNumber(DrawingSurface& surface, const SheetJob& job, TicketSize laidOut,
                      QPoint topLeftPixel, qint64 number);

} // namespace zorvane
