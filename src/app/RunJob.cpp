#include "RunJob.h"

#include "CommandLine.h"
#include "layout/SheetGeometry.h"
#include "settings/CalibrationStore.h"
#include "settings/SettingsStore.h"

namespace zorvane {
namespace {

SheetOptions sheetOptionsOf(const CommandLine& line, const SheetChoices& stored, bool onLabelSheet)
{
    SheetOptions sheet;
    sheet.placement = line.sheet.placement.value_or(stored.placement);
    sheet.turned = line.sheet.turned || (stored.turned && !onLabelSheet);
    return sheet;
}

CutGuides cutGuidesOf(const CommandLine& line, const CutGuides& stored)
{
    return {line.sheet.cutMarks || stored.cutMarks, line.sheet.bleed.value_or(stored.bleed)};
}

} // namespace

SheetJob runJob(const CommandLine& line, const SettingsStore& store,
                const std::optional<LabelSheet>& labelSheet)
{
    const SettingsStore::ReadBatch oneVersion(store);
    OptionValues options = loadOptionValues(store);
    MainValues main = loadMainValues(store);
    line.overrides.applyTo(main);
    if (labelSheet)
        applyLabelSheet(*labelSheet, main, options);
    SheetJob job = sheetJobOf(
        main, options, sheetOptionsOf(line, loadSheetChoices(store), labelSheet.has_value()));
    job.sheet.cut = cutGuidesOf(line, loadCutGuides(store));
    if (line.sheet.skip) {
        if (job.fillOrder)
            job.sheet.usedCells =
                firstCells(*job.fillOrder, fitSheet(job).fit.grid, *line.sheet.skip);
    } else {
        job.sheet.usedCells = loadUsedCells(store, job);
    }
    job.corrections = loadPrinterCorrections(store);
    job.numbering = loadNumberingValues(store);
    line.numbering.applyTo(job.numbering);
    job.firstNumber = job.numbering.start;
    if (line.countAll)
        job.count = fitSheet(job).freeCells;
    return job;
}

} // namespace zorvane
