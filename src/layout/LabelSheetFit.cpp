#include "LabelSheetFit.h"

#include "GridFit.h"

#include <algorithm>

namespace zorvane {

int labelsThatFit(const LabelSheet& sheet)
{
    MainValues main;
    OptionValues options;
    applyLabelSheet(sheet, main, options);
    // A first label beyond the extent gives negative counts, whose product
    // is no number of labels: a direction with none holds none.
    const GridSize grid = GridFit(main, options).grid;
    return capacity({std::max(grid.columns, 0), std::max(grid.rows, 0)});
}

QList<PrintableLabelSheet> printableLabelSheets(const LabelDatabase& database)
{
    QList<PrintableLabelSheet> printable;
    for (const LabelTemplate& product : database.products()) {
        const std::optional<LabelSheet> sheet = convertLabelSheet(product).sheet;
        if (!sheet)
            continue;
        const int fit = labelsThatFit(*sheet);
        if (fit > 0)
            printable.append({product, *sheet, fit});
    }
    return printable;
}

} // namespace zorvane
