#pragma once

#include "settings/JobSettings.h"

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
// follow these steps:
//  1. take the main window's values as last accepted from its fields;
//  2. read the Option values afresh from the store (loadOptionValues);
//  3. call GridFit; with no ticket type or no paper it reports "does not
//     fit" and a 0 x 0 grid;
//  4. draw the sheet only when it fits, with the grid it returned.
GridFitResult GridFit(const MainValues& main, const OptionValues& options);

// The capacity rows x columns, pinned to the 32-bit range.
int capacity(const GridSize& grid);

} // namespace zorvane
