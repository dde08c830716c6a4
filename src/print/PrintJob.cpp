#include "PrintJob.h"

#include "CorrectedPrinter.h"
#include "PaperSettings.h"
#include "PrintDialogPort.h"
#include "PrintPictureScale.h"
#include "PrinterFileOutput.h"
#include "PrinterRecord.h"
#include "PrinterSettingsFile.h"
#include "layout/CalibrationSheet.h"
#include "layout/DrawingSurface.h"
#include "layout/GridFit.h"
#include "layout/PositionCorrection.h"
#include "layout/SheetDrawing.h"
#include "layout/SheetGeometry.h"
#include "picture/PictureHolder.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

namespace zorvane {

namespace {

// Where the painter's origin lies on the paper, in device pixels.
QPointF printableOrigin(const QPrinter& printer)
{
    return printer.pageRect(QPrinter::DevicePixel).topLeft() -
           printer.paperRect(QPrinter::DevicePixel).topLeft();
}

} // namespace

QString printJobTitle(const QString& picturePath)
{
    const QString program = QStringLiteral("Zorvane");
    const QString name = QFileInfo(picturePath).fileName();
    return name.isEmpty() ? program : program + QStringLiteral(" - ") + name;
}

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

// Draws one page of one document. False when the printer would not start
// the document or the spooler refused it.
bool PrintJob::printPage(QPrinter& printer, const QString& title, const PageDrawing& draw)
{
    printer.setDocName(title);
    printer.setFullPage(false); // the origin is the printable area's corner
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    draw(printer, painter);
    return painter.end() && printer.printerState() != QPrinter::Error;
}

PrintJob::Outcome PrintJob::printOnePage(PaperKind paper,
                                         std::optional<PrinterSettingsBlock>& printerSettings,
                                         const QString& title, const PageDrawing& draw)
{
    outputFile_.clear();
    if (!ensurePrinterSettings(printerSettings)) {
        printerSettings.reset();
        messages_(QString::fromUtf16(printMessages::noPrinter));
        return Outcome::NoPrinter;
    }
    writePaperSettings(*printerSettings, paper);
    startCopiesAtOne(*printerSettings);

    QPrinter printer(QPrinter::HighResolution);
    PrinterRecord::applyTo(*printerSettings, printer);
    if (!dialog_.confirm(printer))
        return Outcome::Cancelled;
    // The sheet is laid out for the paper of the main window, but the Print
    // dialog puts its destination's default paper in place when it is
    // accepted: the record's paper and orientation are put back.
    PrinterRecord::applyPaperTo(*printerSettings, printer);

    {
        PrinterFileOutput file(printer);
        outputFile_ = file.target();
        if ((file.active() && !file.ready()) || !printPage(printer, title, draw)) {
            messages_(QString::fromUtf16(printMessages::cannotStart));
            return Outcome::NotStarted;
        }
        if (file.active() && !file.commit())
            return Outcome::FileNotWritten;
    }
    printerSettings = PrinterRecord::fromPrinter(printer);
    startCopiesAtOne(*printerSettings);
    if (!settingsFilePath_.isEmpty() &&
        !SavePrinterSettingsFile(*printerSettings, settingsFilePath_))
        messages_(QString::fromUtf16(printMessages::cannotSaveSettingsFile));
    return Outcome::Printed;
}

PrintJob::Outcome PrintJob::run(const SheetJob& job, const PictureHolder* picture,
                                std::optional<PrinterSettingsBlock>& printerSettings)
{
    const GridFitResult fit = fitSheet(job).fit;
    if (!fit.fits || !job.paper) {
        messages_(QString::fromUtf16(printMessages::doesNotFit));
        return Outcome::DoesNotFit;
    }
    const QString title = printJobTitle(picture ? picture->filePath() : QString());
    return printOnePage(
        *job.paper, printerSettings, title, [&](QPrinter& printer, QPainter& painter) {
            const auto correction = job.corrections.find(correctedPrinterName(printer));
            if (correction != job.corrections.end())
                painter.setTransform(
                    correctedSheetToDevice(correction->second, printer.logicalDpiX(),
                                           printer.logicalDpiY(), printableOrigin(printer)));
            // A picture of a large sensor goes to the printer no larger than
            // its tickets need at the printer's resolution.
            const std::unique_ptr<PictureHolder> scaled =
                picture ? pictureForPrint(*picture, job, printer.logicalDpiX()) : nullptr;
            DrawingSurface surface(painter);
            DrawSheet(surface, scaled ? scaled.get() : picture, job, fit.grid);
        });
}

PrintJob::Outcome
PrintJob::runCalibrationSheet(std::optional<PaperKind> paper,
                              std::optional<PrinterSettingsBlock>& printerSettings)
{
    if (!paper) {
        messages_(QString::fromUtf16(printMessages::doesNotFit));
        return Outcome::DoesNotFit;
    }
    return printOnePage(*paper, printerSettings, printJobTitle(QString()),
                        [&](QPrinter& printer, QPainter& painter) {
                            drawCalibrationSheet(painter, *paper, printer.logicalDpiX(),
                                                 printer.logicalDpiY(), printableOrigin(printer),
                                                 correctedPrinterName(printer));
                        });
}

} // namespace zorvane
