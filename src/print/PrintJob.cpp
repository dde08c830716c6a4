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
#include "layout/TicketNumbers.h"
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

// The printer's printable area in the pixels the sheet is drawn in: the
// painter's origin is the area's corner, and a position correction moves
// the sheet under it, so the area is taken back through the correction.
QRect printableInSheet(const QPrinter& printer, const QPainter& painter)
{
    const QRectF area(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
    return painter.transform().inverted().mapRect(area).toAlignedRect();
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

void PrintJob::setProgress(std::function<bool(int, int)> progress)
{
    progress_ = std::move(progress);
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
    stopped_ = false;
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
            if (stopped_)
                return Outcome::Cancelled;
            messages_(QString::fromUtf16(printMessages::cannotStart));
            return Outcome::NotStarted;
        }
        // Stopped between sheets: the printer got nothing, a file stays as
        // it was.
        if (stopped_)
            return Outcome::Cancelled;
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
    if (!runNumbersFit(job)) {
        messages_(QString::fromUtf16(numberingMessages::doesNotFit));
        return Outcome::DoesNotFit;
    }
    const QString title = printJobTitle(picture ? picture->filePath() : QString());
    const std::vector<SheetJob> pages = runPages(job);
    return printOnePage(
        *job.paper, printerSettings, title, [&](QPrinter& printer, QPainter& painter) {
            const auto correction = job.corrections.find(correctedPrinterName(printer));
            // A picture of a large sensor goes to the printer no larger than
            // its tickets need at the printer's resolution.
            const std::unique_ptr<PictureHolder> scaled =
                picture ? pictureForPrint(*picture, job, printer.logicalDpiX()) : nullptr;
            const int sheets = int(pages.size());
            for (int k = 0; k < sheets; ++k) {
                if (progress_ && !progress_(k, sheets)) {
                    stopped_ = true;
                    printer.abort();
                    return;
                }
                if (k > 0)
                    printer.newPage();
                if (correction != job.corrections.end())
                    painter.setTransform(
                        correctedSheetToDevice(correction->second, printer.logicalDpiX(),
                                               printer.logicalDpiY(), printableOrigin(printer)));
                DrawingSurface surface(painter);
                surface.setPrintableArea(printableInSheet(printer, painter));
                DrawSheet(surface, scaled ? scaled.get() : picture, pages[size_t(k)], fit.grid);
            }
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
