#pragma once

#include "settings/Catalogue.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QString>

// Finds the tickets of a sheet in a rendered page. The test picture has four
// coloured quarters, so a probe near each corner of a ticket tells both
// where the ticket lies and that the picture is upright and not mirrored.
namespace sheetprobe {

inline const QColor topLeftColour{220, 0, 0};
inline const QColor topRightColour{0, 160, 0};
inline const QColor bottomLeftColour{0, 0, 220};
inline const QColor bottomRightColour{230, 200, 0};

// A picture of the given size with the four quarters above.
QImage quarteredPicture(int width, int height);

struct Sheet
{
    QPointF originMm;      // where the drawing origin lies on the paper
    int ticketWidth = 579; // tenths of a millimetre
    int ticketHeight = 302;
    int offsetX = 100;
    int offsetY = 100;
    int gapH = 3;
    int gapV = 3;
    int columns = 0;
    int rows = 0;
    int count = 0;
    zorvane::FillOrder order = zorvane::FillOrder::RowsFirst;
};

// Empty when every ticket is where it belongs and the first free cell and
// the margins are blank; otherwise what was found instead.
QString check(const QImage& page, double dpi, const Sheet& sheet);

} // namespace sheetprobe
