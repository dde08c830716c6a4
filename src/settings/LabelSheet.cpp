#include "LabelSheet.h"

#include "LabelTemplateFile.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace zorvane {
namespace {

// Ten kilometres: no sheet is larger, and every rounded value stays far
// inside the 32-bit range, sums of two included.
constexpr double largestLength = 1e8;

// Far more labels than a sheet can hold in one row or column; the count of
// labels on a sheet stays well inside 32 bits.
constexpr int mostAlong = 10000;

constexpr double paperTolerance = 5; // half a millimetre

bool withinRange(double tenths)
{
    return std::abs(tenths) <= largestLength;
}

// The gap after a label: the rounded pitch less the rounded label size.
int gapOf(int count, double pitch, int roundedExtent)
{
    const int gap = roundToTenths(pitch) - roundedExtent;
    return count == 1 ? std::max(gap, 0) : gap;
}

LabelSheetConversion cannot(const QString& why)
{
    return {std::nullopt, why};
}

} // namespace

std::optional<PaperKind> paperOfSize(double width, double height)
{
    for (PaperKind kind : allPaperKinds) {
        const PaperSpec& paperEntry = paperSpec(kind);
        if (std::abs(width - paperEntry.pageWidthMm * 10) <= paperTolerance &&
            std::abs(height - paperEntry.pageHeightMm * 10) <= paperTolerance)
            return kind;
    }
    return std::nullopt;
}

int roundToTenths(double tenths)
{
    return int(std::round(std::clamp(tenths, -largestLength, largestLength)));
}

LabelSheetConversion convertLabelSheet(const LabelTemplate& product)
{
    if (!product.paperWidth || !product.paperHeight) {
        return cannot(product.equiv.isEmpty()
                          ? u"the size of the paper '%1' is not known"_s.arg(product.paperId)
                          : u"the equivalent product '%1' is not found"_s.arg(product.equiv));
    }
    const std::optional<PaperKind> paper = paperOfSize(*product.paperWidth, *product.paperHeight);
    if (!paper) {
        return cannot(u"its paper (%1 x %2 mm) is not A4, B5 or the A4 quarter sheet"_s
                          .arg(*product.paperWidth / 10, 0, 'f', 1)
                          .arg(*product.paperHeight / 10, 0, 'f', 1));
    }
    if (product.shape == LabelShape::Other)
        return cannot(u"its labels (%1) are not rectangles, circles or ellipses"_s.arg(
            product.shapeElement.isEmpty() ? u"none"_s : product.shapeElement));
    if (product.labelCount != 1)
        return cannot(u"it has labels of more than one kind"_s);
    if (product.layouts.size() != 1)
        return cannot(u"it has %1 layouts; the program prints one"_s.arg(product.layouts.size()));

    const LabelLayout& layout = product.layouts.constFirst();
    for (double length :
         {product.labelWidth, product.labelHeight, layout.x0, layout.y0, layout.dx, layout.dy}) {
        if (!withinRange(length))
            return cannot(u"a length is out of range"_s);
    }
    if (layout.nx < 1 || layout.ny < 1)
        return cannot(u"its layout has no labels"_s);
    if (layout.nx > mostAlong || layout.ny > mostAlong)
        return cannot(u"its layout has more than %1 labels in a row or column"_s.arg(mostAlong));

    LabelSheet sheet;
    sheet.paper = *paper;
    sheet.labelWidth = roundToTenths(product.labelWidth);
    sheet.labelHeight = roundToTenths(product.labelHeight);
    sheet.offsetX = roundToTenths(layout.x0);
    sheet.offsetY = roundToTenths(layout.y0);
    sheet.gapH = gapOf(layout.nx, layout.dx, sheet.labelWidth);
    sheet.gapV = gapOf(layout.ny, layout.dy, sheet.labelHeight);
    sheet.columns = layout.nx;
    sheet.rows = layout.ny;
    if (sheet.labelWidth < 1 || sheet.labelHeight < 1)
        return cannot(u"its labels are smaller than 0.1 mm"_s);
    if (sheet.gapH < 0 || sheet.gapV < 0)
        return cannot(u"its labels overlap"_s);
    return {sheet, QString()};
}

void applyLabelSheet(const LabelSheet& sheet, MainValues& main, OptionValues& options)
{
    main.ticketType = TicketType::Other;
    main.customWidth = sheet.labelWidth;
    main.customHeight = sheet.labelHeight;
    main.paper = sheet.paper;
    options.offsetX = sheet.offsetX;
    options.offsetY = sheet.offsetY;
    options.gapH = sheet.gapH;
    options.gapV = sheet.gapV;
    options.limitGrid = 1;
    options.maxRows = sheet.rows;
    options.maxCols = sheet.columns;
}

} // namespace zorvane
