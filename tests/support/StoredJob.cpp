#include "StoredJob.h"

#include "settings/CalibrationStore.h"

namespace zorvane {

SheetJob storedJob(const SettingsStore& store, const MainValues& main, const SheetOptions& sheet)
{
    SheetJob job = sheetJobOf(main, loadOptionValues(store), sheet);
    job.corrections = loadPrinterCorrections(store);
    return job;
}

SheetJob placedJob(const SettingsStore& store, const Placement& placement,
                   const SheetOptions& sheet)
{
    SheetJob job;
    job.ticket = placement.ticket;
    job.fillOrder = placement.order;
    job.count = placement.count;
    job.options = loadOptionValues(store);
    job.options.offsetX = placement.offsetX;
    job.options.offsetY = placement.offsetY;
    job.options.gapV = placement.gapV;
    job.options.gapH = placement.gapH;
    job.sheet = sheet;
    return job;
}

} // namespace zorvane
