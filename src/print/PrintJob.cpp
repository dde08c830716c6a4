#include "PrintJob.h"

#include "PaperSettings.h"
#include "PrintDialogPort.h"
#include "PrinterRecord.h"
#include "PrinterSettingsFile.h"
#include "layout/DrawingSurface.h"
#include "layout/GridFit.h"
#include "layout/SheetDrawing.h"
#include "layout/SheetGeometry.h"
#include "settings/SettingsStore.h"

#include <QPainter>
#include <QPrinter>

namespace zorvane {

PrintJob::PrintJob(PrintDialogPort& dialog, MessageSink messages, QString settingsFilePath)
    : dialog_(dialog), messages_(std::move(messages)),
      settingsFilePath_(std::move(settingsFilePath))
{}

void PrintJob::setDefaultsSource(std::function<bool(std::optional<PrinterSettingsBlock>&)> source)
{
    defaultsSource_ = std::move(source);
}

bool PrintJob::ensurePrinterSettings(std::optional<PrinterSettingsBlock>& printerSettings)
{
    if (printerSettings)
        return true;
    // The printer settings file is read only at start; a record obtained
    // here is the default printer's own.
    return defaultsSource_(printerSettings) && printerSettings;
}

// Draws the sheet as one page of one document. False when the printer
// would not start the document or the spooler refused it.
bool PrintJob::printSheet(QPrinter& printer, const MainValues& main, const SettingsStore& store,
                          const PictureHolder* picture, const GridSize& grid,
                          const SheetOptions& sheet)
{
    printer.setDocName(QString());
    printer.setFullPage(false); // the origin is the printable area's corner
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    DrawingSurface surface(painter);
    drawJobSheet(surface, picture, main, grid, store, sheet);
    return painter.end() && printer.printerState() != QPrinter::Error;
}

PrintJob::Outcome PrintJob::run(const MainValues& main, const SettingsStore& store,
                                const PictureHolder* picture,
                                std::optional<PrinterSettingsBlock>& printerSettings,
                                const SheetOptions& sheet)
{
    const GridFitResult fit = fitSheet(main, loadOptionValues(store), sheet).fit;
    if (!fit.fits) {
        messages_(QString::fromUtf16(printMessages::doesNotFit));
        return Outcome::DoesNotFit;
    }
    if (!ensurePrinterSettings(printerSettings)) {
        printerSettings.reset();
        messages_(QString::fromUtf16(printMessages::noPrinter));
        return Outcome::NoPrinter;
    }
    writePaperSettings(*printerSettings, main.paper);

    QPrinter printer(QPrinter::HighResolution);
    PrinterRecord::applyTo(*printerSettings, printer);
    if (!dialog_.confirm(printer))
        return Outcome::Cancelled;

    if (!printSheet(printer, main, store, picture, fit.grid, sheet)) {
        messages_(QString::fromUtf16(printMessages::cannotStart));
        return Outcome::NotStarted;
    }
    printerSettings = PrinterRecord::fromPrinter(printer);
    if (!settingsFilePath_.isEmpty())
        SavePrinterSettingsFile(*printerSettings, settingsFilePath_);
    return Outcome::Printed;
}

} // namespace zorvane
