#include "SheetDrawing.h"

#include "CutMarks.h"
#include "DrawingSurface.h"
#include "TicketAreas.h"
#include "TicketNumbers.h"
#include "picture/PictureHolder.h"
#include "settings/WideMath.h"

#include <QColor>
#include <QPainter>

#include <cmath>

namespace zorvane {
namespace {

// Pixel coordinates handed to the painter stay inside this range, far beyond
// any real device, so that no sum near the edge of int overflows; only
// absurd stored lengths ever reach it.
constexpr qint64 drawingLimit = qint64(1) << 24;

int drawable(qint64 pixel)
{
    return int(std::clamp(pixel, -drawingLimit, drawingLimit));
}

// A ticket's edges in device pixels: its picture covers columns
// left..right-1 and rows top..bottom-1. The size is converted on its own and
// then moved to the position, so every ticket of a sheet gets the same pixel
// size wherever it lies.
struct TicketEdges
{
    qint64 left = 0;
    qint64 top = 0;
    qint64 right = 0;
    qint64 bottom = 0;
};

TicketEdges ticketEdges(TicketSize size, int x, int y, int pixelsPerInchX, int pixelsPerInchY)
{
    TicketEdges edges;
    edges.left = pixelsFromTenths(x, pixelsPerInchX);
    edges.top = pixelsFromTenths(y, pixelsPerInchY);
    edges.right = edges.left + pixelsFromTenths(size.width, pixelsPerInchX);
    edges.bottom = edges.top + pixelsFromTenths(size.height, pixelsPerInchY);
    return edges;
}

QColor frameColour(const OptionValues& options)
{
    return QColor(options.frameRed & 0xFF, options.frameGreen & 0xFF, options.frameBlue & 0xFF);
}

// The closed outline one pixel outside the picture on the left and top and
// two outside on the right and bottom, drawn as four strokes that each leave
// out their end point.
void drawFrame(DrawingSurface& surface, const QColor& color, qint64 left, qint64 top, qint64 right,
               qint64 bottom)
{
    const QPoint topLeft(drawable(left - 1), drawable(top - 1));
    const QPoint topRight(drawable(right + 1), drawable(top - 1));
    const QPoint bottomRight(drawable(right + 1), drawable(bottom + 1));
    const QPoint bottomLeft(drawable(left - 1), drawable(bottom + 1));
    DrawingSurface::PenSelection pen(surface, color);
    surface.moveTo(topLeft);
    surface.lineTo(topRight);
    surface.lineTo(bottomRight);
    surface.lineTo(bottomLeft);
    surface.lineTo(topLeft);
}

// Draws the picture into its area of the ticket; a Fill area larger than
// the ticket is clipped to it, so the picture itself is drawn whole and a
// PDF still holds it once.
void renderIntoTicket(DrawingSurface& surface, const PictureHolder& picture, const QRect& ticket,
                      const TileLook& look)
{
    if (look.placement == PicturePlacement::Stretch && !look.turned) {
        surface.renderPicture(picture, ticket);
        return;
    }
    const QSize standing = look.turned ? picture.size().transposed() : picture.size();
    const QRect area = pictureArea(standing, ticket, look.placement, surface.pixelsPerInchX(),
                                   surface.pixelsPerInchY());
    // Clipped rather than cut, so the picture itself is drawn whole and a
    // PDF still holds it once, as the file's own bytes where it can.
    const std::optional<QRect> clip =
        ticket.contains(area) ? std::nullopt : std::optional<QRect>(ticket);
    surface.renderPicture(picture, area, clip, look.turned);
}

} // namespace

void DrawTile(DrawingSurface& surface, const PictureHolder* picture, const OptionValues& options,
              TicketSize ticket, int x, int y, const TileLook& look)
{
    if (!picture)
        return;
    const TicketEdges edges =
        ticketEdges(ticket, x, y, surface.pixelsPerInchX(), surface.pixelsPerInchY());
    const QRect cut(QPoint(drawable(edges.left), drawable(edges.top)),
                    QPoint(drawable(edges.right) - 1, drawable(edges.bottom) - 1));
    renderIntoTicket(surface, *picture,
                     look.placement == PicturePlacement::Fit ? cut : cut.marginsAdded(look.bleed),
                     look);
    if (options.drawFrame != 0)
        drawFrame(surface, frameColour(options), edges.left, edges.top, edges.right, edges.bottom);
}

void DrawSheet(DrawingSurface& surface, const PictureHolder* picture, const SheetJob& job,
               const GridSize& grid)
{
    const std::optional<SheetPitch> pitch = sheetPitch(job);
    if (!pitch || !job.fillOrder)
        return;
    TileLook look{job.sheet.placement, job.sheet.turned};
    qint64 number = job.firstNumber;
    for (const GridCell& cell : ticketCells(*job.fillOrder, grid, job.count, job.sheet.usedCells)) {
        const QPoint position = cellPosition(*pitch, cell);
        look.bleed =
            ticketBleed(job, grid, cell, surface.pixelsPerInchX(), surface.pixelsPerInchY());
        DrawTile(surface, picture, job.options, pitch->ticket, position.x(), position.y(), look);
        if (job.numbering.enabled) {
            const TicketEdges edges =
                ticketEdges(pitch->ticket, position.x(), position.y(), surface.pixelsPerInchX(),
                            surface.pixelsPerInchY());
            drawTicketNumber(surface, job, pitch->ticket,
                             QPoint(drawable(edges.left), drawable(edges.top)), number++);
        }
    }
    drawCutMarks(surface, job, grid);
}

SheetFrames sheetFrames(const SheetJob& job, const GridSize& grid, int pixelsPerInchX,
                        int pixelsPerInchY)
{
    const std::optional<SheetPitch> pitch = sheetPitch(job);
    SheetFrames frames{frameColour(job.options), {}};
    if (job.options.drawFrame == 0 || !pitch || !job.fillOrder)
        return frames;
    for (const GridCell& cell : ticketCells(*job.fillOrder, grid, job.count, job.sheet.usedCells)) {
        const QPoint position = cellPosition(*pitch, cell);
        const TicketEdges edges =
            ticketEdges(pitch->ticket, position.x(), position.y(), pixelsPerInchX, pixelsPerInchY);
        frames.outlines.emplace_back(QPoint(drawable(edges.left - 1), drawable(edges.top - 1)),
                                     QPoint(drawable(edges.right + 1), drawable(edges.bottom + 1)));
    }
    return frames;
}

} // namespace zorvane
