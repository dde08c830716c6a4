#include "SheetJob.h"

#include "CalibrationStore.h"
#include "SettingsStore.h"

namespace zorvane {

bool SheetJob::ticketHasNoArea() const
{
    return ticket && (ticket->width <= 0 || ticket->height <= 0);
}

TicketSize laidOutSize(TicketSize ticket, bool turned)
{
    return turned ? TicketSize{ticket.height, ticket.width} : ticket;
}

std::optional<TicketSize> laidOutTicket(const MainValues& main, bool turned)
{
    if (!main.ticketType)
        return std::nullopt;
    return laidOutSize(ticketSize(*main.ticketType, main.customWidth, main.customHeight), turned);
}

SheetJob sheetJobOf(const MainValues& main, const OptionValues& options, const SheetOptions& sheet)
{
    SheetJob job;
    job.ticket = laidOutTicket(main, sheet.turned);
    job.paper = main.paper;
    job.fillOrder = main.fillOrder;
    job.count = requestedCount(main);
    job.options = options;
    job.sheet = sheet;
    return job;
}

SheetJob readSheetJob(const SettingsStore& store, const MainValues& main,
                      const SheetChoices& choices)
{
    const SettingsStore::ReadBatch oneVersion(store);
    SheetOptions sheet;
    sheet.placement = choices.placement;
    sheet.turned = choices.turned;
    sheet.cut = loadCutGuides(store);
    SheetJob job = sheetJobOf(main, loadOptionValues(store), sheet);
    job.sheet.usedCells = loadUsedCells(store, job);
    job.corrections = loadPrinterCorrections(store);
    job.numbering = loadNumberingValues(store);
    job.firstNumber = job.numbering.start;
    return job;
}

std::vector<SheetJob> runPages(const SheetJob& job)
{
    const int sheets = std::max(job.numbering.sheets, 1);
    std::vector<SheetJob> pages(size_t(sheets), job);
    for (int k = 1; k < sheets; ++k) {
        pages[size_t(k)].sheet.usedCells.clear();
        pages[size_t(k)].firstNumber = job.firstNumber + qint64(k) * std::max(job.count, 0);
    }
    return pages;
}

CellSet loadUsedCells(const SettingsStore& store, const SheetJob& job)
{
    if (!job.paper || !job.ticket)
        return {};
    return loadUsedCells(store, *job.paper, *job.ticket, job.turned());
}

void saveUsedCells(SettingsStore& store, const SheetJob& job, const CellSet& cells)
{
    if (job.paper && job.ticket)
        saveUsedCells(store, *job.paper, *job.ticket, job.turned(), cells);
}

} // namespace zorvane
