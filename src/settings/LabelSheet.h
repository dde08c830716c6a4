#pragma once

#include "JobSettings.h"

#include <QString>

#include <optional>

namespace zorvane {

struct LabelTemplate;

// A label sheet product in the program's own values, whole tenths of a
// millimetre: the ticket is the label, the start offsets are the first
// label's corner on the paper, the gaps are what lies between two labels,
// and the row and column limits are the sheet's rows and columns.
struct LabelSheet
{
    PaperKind paper = PaperKind::A4;
    int labelWidth = 0; // tenths of a millimetre
    int labelHeight = 0;
    int offsetX = 0;
    int offsetY = 0;
    int gapH = 0; // between two columns
    int gapV = 0; // between two rows
    int columns = 0;
    int rows = 0;

    int labelCount() const { return columns * rows; }

    friend bool operator==(const LabelSheet&, const LabelSheet&) = default;
};

struct LabelSheetConversion
{
    std::optional<LabelSheet> sheet;
    QString whyNot; // when there is no sheet: why the program cannot print it
};

// The program's paper of that size (tenths of a millimetre), upright, within
// half a millimetre: papers are recognised by their size, not their name.
std::optional<PaperKind> paperOfSize(double width, double height);

// A length rounded to whole tenths of a millimetre, halves away from zero.
int roundToTenths(double tenths);

// Converts a product: one rectangle, circle or ellipse label (the last two
// by their bounding box) in one layout on one of the program's papers.
// Positions and sizes are rounded; each gap is the difference of the rounded
// pitch and the rounded label size, so that the rounding of the gap does not
// add up along a row. A single column or row has no pitch to speak of; its
// gap is then never below 0.
LabelSheetConversion convertLabelSheet(const LabelTemplate& product);

// Makes the job print on the sheet: ticket type "Other" with the label's
// size, the sheet's paper, its offsets and gaps, and the limits on rows and
// columns switched on. Every other value stays as it is.
void applyLabelSheet(const LabelSheet& sheet, MainValues& main, OptionValues& options);

} // namespace zorvane
