#include "LabelSheetFit.h"

#include "GridFit.h"

namespace zorvane {

int labelsThatFit(const LabelSheet& sheet)
{
    MainValues main;
    OptionValues options;
    applyLabelSheet(sheet, main, options);
    return capacity(GridFit(main, options).grid);
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
