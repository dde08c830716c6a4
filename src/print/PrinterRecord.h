#pragma once

#include "PrinterSettingsBlock.h"

class QPrinter;

namespace zorvane {

// The printer's settings as a device-mode record and back: the destination
// (printer or PDF file), orientation, paper, copies, colour, duplex,
// resolution, collation, form name and the CUPS job options.
class PrinterRecord
{
public:
    static PrinterSettingsBlock fromPrinter(const QPrinter& printer);

    // Fields outside the public part, or not flagged as holding a value,
    // leave the printer's setting alone. A printer that no longer exists is
    // replaced by the default printer, or by a PDF file when there is none.
    static void applyTo(const PrinterSettingsBlock& block, QPrinter& printer);

    // Only the record's page size and orientation.
    static void applyPaperTo(const PrinterSettingsBlock& block, QPrinter& printer);
};

} // namespace zorvane
