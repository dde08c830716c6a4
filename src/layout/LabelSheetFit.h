#pragma once

#include "settings/LabelDatabase.h"
#include "settings/LabelSheet.h"

#include <QList>

namespace zorvane {

// How many of the sheet's labels the program prints: the grid that the grid
// fit finds in the paper's usable extent for the sheet's values, capped by
// the sheet's rows and columns. Labels that reach into the margin the
// program leaves unprinted are not counted.
int labelsThatFit(const LabelSheet& sheet);

// A product the program can print: its sheet, and at least one label of it
// within the printed extent.
struct PrintableLabelSheet
{
    LabelTemplate product;
    LabelSheet sheet;
    int fit = 0; // labels printed of sheet.labelCount()
};

// The products of the database that the program can print, in its order.
QList<PrintableLabelSheet> printableLabelSheets(const LabelDatabase& database);

} // namespace zorvane
