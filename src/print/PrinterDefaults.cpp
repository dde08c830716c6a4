#include "PrinterDefaults.h"

#include "PrinterRecord.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace zorvane {

bool GetPrinterDefaults(std::optional<PrinterSettingsBlock>& printerSettings,
                        WithoutPrinter withoutPrinter)
{
    printerSettings.reset();
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull()) {
        const QPrinter printer(info, QPrinter::HighResolution);
        printerSettings = PrinterRecord::fromPrinter(printer);
        return true;
    }
    if (withoutPrinter == WithoutPrinter::Fail)
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printerSettings = PrinterRecord::fromPrinter(printer);
    return true;
}

} // namespace zorvane
