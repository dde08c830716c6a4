#include "CalibrationActions.h"

#include "CCorrectionDlg.h"
#include "print/CorrectedPrinter.h"
#include "print/PrintJob.h"
#include "ui/framework/MessageBoxes.h"

namespace zorvane {

void printCalibrationSheet(QWidget* parent, PrintDialogPort& dialog,
                           const QString& printerSettingsFile, std::optional<PaperKind> paper,
                           std::optional<PrinterSettingsBlock>& printerSettings)
{
    PrintJob job(
        dialog, [parent](const QString& text) { showMessage(parent, text); }, printerSettingsFile);
    if (job.runCalibrationSheet(paper, printerSettings) == PrintJob::Outcome::FileNotWritten)
        showMessage(parent, QString::fromUtf16(printMessages::cannotWriteFile));
}

void correctPrinterPosition(QWidget* parent, SettingsStore& store,
                            const std::optional<PrinterSettingsBlock>& printerSettings,
                            PaperKind paper)
{
    const QString printer = printerSettings ? correctedPrinterName(*printerSettings) : QString();
    if (printer.isEmpty()) {
        showMessage(parent, QString::fromUtf16(correctionMessages::noPrinter));
        return;
    }
    CCorrectionDlg dialog(store, printer, paper, parent);
    dialog.exec();
}

} // namespace zorvane
