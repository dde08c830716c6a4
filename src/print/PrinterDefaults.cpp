#include "PrinterDefaults.h"

#include "PrinterRecord.h"
#include "PrinterSettingsFile.h"

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

bool GetStoredPrinterDefaults(std::optional<PrinterSettingsBlock>& printerSettings,
                              const QString& settingsFilePath)
{
    const bool printerFound = GetPrinterDefaults(printerSettings, WithoutPrinter::Fail);
    if (!printerFound)
        GetPrinterDefaults(printerSettings, WithoutPrinter::PdfFile);
    LoadPrinterSettingsFile(*printerSettings, settingsFilePath);
    if (printerFound)
        return true;
    QPrinter printer(QPrinter::HighResolution);
    PrinterRecord::applyTo(*printerSettings, printer);
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return true;
    printerSettings.reset();
    return false;
}

} // namespace zorvane
