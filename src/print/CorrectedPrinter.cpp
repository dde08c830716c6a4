#include "CorrectedPrinter.h"

#include "PrinterRecord.h"

#include <QPrinter>

namespace zorvane {

QString correctedPrinterName(const QPrinter& printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat || !printer.outputFileName().isEmpty())
        return QString();
    return printer.printerName();
}

QString correctedPrinterName(const PrinterSettingsBlock& record)
{
    QPrinter printer;
    PrinterRecord::applyTo(record, printer);
    return correctedPrinterName(printer);
}

} // namespace zorvane
