#pragma once

#include "Catalogue.h"
#include "JobSettings.h"
#include "Numbering.h"
#include "PrinterCorrection.h"
#include "SheetValues.h"

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace zorvane {

class SettingsStore;

// Everything one sheet is drawn from, read once when a job starts (a
// repaint, a print, an export) and then passed by value: nothing that lays
// out, draws, previews or prints a sheet reads the store, so one sheet is
// never drawn from two versions of a file that another copy of the
// program is writing.
struct SheetJob
{
    // The ticket as it is laid out on the sheet: the type's size or the
    // custom size, already swapped when the tickets are turned. None
    // without a ticket type.
    std::optional<TicketSize> ticket;
    std::optional<PaperKind> paper;
    std::optional<FillOrder> fillOrder;
    int count = 0; // the tickets asked for
    OptionValues options;
    SheetOptions sheet; // placement, turn and the cells tickets leave free
    // Stored position corrections by printer, read with the rest: the
    // printer a print goes to is known only once the Print dialog closes.
    std::map<QString, PositionCorrection> corrections;
    // The run's numbering and sheet count, and the number of this sheet's
    // first ticket (runPages sets it for each sheet of a run).
    NumberingValues numbering;
    qint64 firstNumber = 1;

    bool turned() const { return sheet.turned; }
    // A ticket that covers no paper: nothing to print.
    bool ticketHasNoArea() const;
};

// The ticket as it is laid out: width and height swapped when turned.
TicketSize laidOutSize(TicketSize ticket, bool turned);
// The ticket of the main values as laid out; none without a ticket type.
std::optional<TicketSize> laidOutTicket(const MainValues& main, bool turned);

// The job of the given values, with nothing read from anywhere.
SheetJob sheetJobOf(const MainValues& main, const OptionValues& options,
                    const SheetOptions& sheet = {});

// The job as the window and the command line start it: the Option values,
// the used cells kept for this paper and laid-out ticket, and every
// printer's correction, read from the store once, with the cut marks and
// bleed; placement and turn as chosen.
SheetJob readSheetJob(const SettingsStore& store, const MainValues& main,
                      const SheetChoices& choices);

// The sheets of one print, one job a page: the first as the job is (its
// tickets in its free cells), the others from the first cell on, with no
// used cells. Ticket i of sheet k is numbered start + k * count + i.
std::vector<SheetJob> runPages(const SheetJob& job);

// The used cells kept for the job's paper and laid-out ticket; none
// without a paper or ticket.
CellSet loadUsedCells(const SettingsStore& store, const SheetJob& job);
void saveUsedCells(SettingsStore& store, const SheetJob& job, const CellSet& cells);

} // namespace zorvane
