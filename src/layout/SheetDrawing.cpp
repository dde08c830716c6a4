#include "SheetDrawing.h"

#include "DrawingSurface.h"
#include "picture/PictureHolder.h"
#include "settings/SettingsStore.h"
#include "settings/WideMath.h"

#include <QColor>

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

std::optional<TicketSize> ticketSizeForCode(std::string_view code, TicketSize customSize)
{
    const std::optional<TicketType> type = ticketTypeForCode(code);
    if (!type)
        return std::nullopt;
    return ticketSize(*type, customSize.width, customSize.height);
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

template<typename DrawCell>
void forEachCell(FillOrder order, int rows, int columns, int count, DrawCell drawCell)
{
    if (count <= 0 || rows <= 0 || columns <= 0)
        return;
    const int outerCount = order == FillOrder::RowsFirst ? rows : columns;
    const int innerCount = order == FillOrder::RowsFirst ? columns : rows;
    int drawn = 0;
    for (int outer = 0; outer < outerCount; ++outer) {
        for (int inner = 0; inner < innerCount; ++inner) {
            if (drawn >= count)
                return;
            if (order == FillOrder::RowsFirst)
                drawCell(outer, inner);
            else
                drawCell(inner, outer);
            ++drawn;
        }
    }
}

} // namespace

void DrawTile(DrawingSurface& surface, const PictureHolder* picture, const SettingsStore& store,
              std::string_view ticketTypeCode, TicketSize customSize, int x, int y)
{
    const OptionValues options = loadOptionValues(store);
    const std::optional<TicketSize> size = ticketSizeForCode(ticketTypeCode, customSize);
    if (!size || !picture)
        return;

    // The size is converted on its own and then moved to the position, so
    // every ticket of a sheet gets the same pixel size wherever it lies.
    const qint64 width = pixelsFromTenths(size->width, surface.pixelsPerInchX());
    const qint64 height = pixelsFromTenths(size->height, surface.pixelsPerInchY());
    const qint64 left = pixelsFromTenths(x, surface.pixelsPerInchX());
    const qint64 top = pixelsFromTenths(y, surface.pixelsPerInchY());
    const qint64 right = left + width;
    const qint64 bottom = top + height;

    surface.renderPicture(*picture, QRect(QPoint(drawable(left), drawable(top)),
                                          QPoint(drawable(right) - 1, drawable(bottom) - 1)));
    if (options.drawFrame != 0) {
        const QColor color(options.frameRed & 0xFF, options.frameGreen & 0xFF,
                           options.frameBlue & 0xFF);
        drawFrame(surface, color, left, top, right, bottom);
    }
}

void DrawSheet(DrawingSurface& surface, const PictureHolder* picture, const SettingsStore& store,
               const SheetPlacement& placement)
{
    if (!placement.fillOrder)
        return;
    const qint64 pitchX = qint64(placement.ticketWidth) + placement.gapH;
    const qint64 pitchY = qint64(placement.ticketHeight) + placement.gapV;
    // Already resolved for the placement's ticket type; code "Z" takes it as
    // its custom size, the fixed types ignore it.
    const TicketSize resolvedSize{placement.ticketWidth, placement.ticketHeight};
    forEachCell(*placement.fillOrder, placement.rows, placement.columns, placement.count,
                [&](int row, int column) {
                    const int x = clampToInt(placement.offsetX + column * pitchX);
                    const int y = clampToInt(placement.offsetY + row * pitchY);
                    DrawTile(surface, picture, store, placement.ticketTypeCode, resolvedSize, x, y);
                });
}

void drawJobSheet(DrawingSurface& surface, const PictureHolder* picture, const MainValues& main,
                  const GridSize& grid, const SettingsStore& store)
{
    const OptionValues options = loadOptionValues(store);
    SheetPlacement placement;
    placement.count = requestedCount(main);
    placement.offsetX = options.offsetX;
    placement.offsetY = options.offsetY;
    placement.gapV = options.gapV;
    placement.gapH = options.gapH;
    if (!main.ticketType || !main.fillOrder)
        return;
    const TicketSize size = ticketSize(*main.ticketType, main.customWidth, main.customHeight);
    placement.ticketTypeCode = ticketTypeCode(*main.ticketType);
    placement.ticketWidth = size.width;
    placement.ticketHeight = size.height;
    placement.fillOrder = main.fillOrder;
    placement.rows = grid.rows;
    placement.columns = grid.columns;
    DrawSheet(surface, picture, store, placement);
}

} // namespace zorvane
