#pragma once

#include "settings/JobSettings.h"
#include "settings/SheetJob.h"

namespace zorvane {

// Tickets across (columns) and down (rows) that fit on the paper.
struct GridSize
{
    int columns = 0;
    int rows = 0;

    friend bool operator==(const GridSize&, const GridSize&) = default;
};

struct GridFitResult
{
    bool fits = false; // the requested count fits into the grid
    GridSize grid;     // the computed and capped grid; 0 x 0 when no type or paper
};

// How many tickets one direction holds: the available length (usable extent
// less the start offset), the ticket extent and the gap. The last ticket
// needs no gap after it, so a leftover that holds a bare ticket adds one.
// A pitch of 0 holds no tickets.
int ticketsAlong(qint64 available, qint64 extent, qint64 gap);

// The one rule by which the program decides how many tickets fit. It looks
// only at the main values and the Option values: the paper's fixed usable
// extent, not the printer's printable area; not the picture, not the order.
//
// Callers (the preview at every render and the print job before it prints)
// take the job as it was read when it started, call the fit (fitSheet, which
// also leaves out used cells), and draw the sheet only when it fits, with
// the grid it returned. With no ticket type or no paper it reports "does
// not fit" and a 0 x 0 grid.
GridFitResult GridFit(const MainValues& main, const OptionValues& options);
// The same rule for a job's ticket as laid out, its paper, its count and its
// Option values; the used cells are left to fitSheet.
GridFitResult GridFit(const SheetJob& job);

// The capacity rows x columns, pinned to the 32-bit range.
int capacity(const GridSize& grid);

} // namespace zorvane
