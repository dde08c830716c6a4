#pragma once

#include <QString>

class QPrinter;

namespace zorvane {

class PrinterSettingsBlock;

// The printer whose correction applies to what is drawn on this QPrinter:
// its name when it prints on a printer, empty when it writes a file.
QString correctedPrinterName(const QPrinter& printer);
// The same for the destination a printer record names.
QString correctedPrinterName(const PrinterSettingsBlock& record);

} // namespace zorvane
