#include "GridFit.h"

#include "settings/WideMath.h"

namespace zorvane {

int ticketsAlong(qint64 available, qint64 extent, qint64 gap)
{
    const qint64 pitch = extent + gap;
    if (pitch == 0)
        return 0;
    qint64 count = available / pitch;
    if (available - count * pitch >= extent)
        ++count;
    return clampToInt(count);
}

int capacity(const GridSize& grid)
{
    return clampToInt(qint64(grid.columns) * grid.rows);
}

GridFitResult GridFit(const MainValues& main, const OptionValues& options)
{
    return GridFit(sheetJobOf(main, options));
}

GridFitResult GridFit(const SheetJob& job)
{
    GridFitResult result;
    if (!job.ticket || !job.paper)
        return result;

    const TicketSize ticket = *job.ticket;
    const PaperSpec& paper = paperSpec(*job.paper);
    const OptionValues& options = job.options;

    GridSize& grid = result.grid;
    grid.columns =
        ticketsAlong(qint64(paper.usableWidth) - options.offsetX, ticket.width, options.gapH);
    grid.rows =
        ticketsAlong(qint64(paper.usableHeight) - options.offsetY, ticket.height, options.gapV);

    // A cap only lowers a count, and applies whatever it holds, 0 included.
    if (options.limitGrid != 0) {
        grid.rows = std::min(grid.rows, options.maxRows);
        grid.columns = std::min(grid.columns, options.maxCols);
    }

    result.fits = job.count <= capacity(grid);
    return result;
}

} // namespace zorvane
