#include "LabelSheetActions.h"

#include "LabelSheetDlg.h"
#include "print/CorrectedPrinter.h"
#include "settings/CalibrationStore.h"
#include "settings/LabelDatabase.h"

#include <QLoggingCategory>

namespace zorvane {
namespace {

Q_LOGGING_CATEGORY(labelDatabaseLog, "zorvane.labels")

} // namespace

std::optional<LabelSheet> askForLabelSheet(QWidget* parent, const QStringList& folders,
                                           const QString& notes)
{
    const LabelDatabase database = LabelDatabase::load(folders);
    for (const QString& problem : database.problems())
        qCWarning(labelDatabaseLog).noquote() << problem;
    LabelSheetDlg dialog(printableLabelSheets(database), notes, parent);
    if (dialog.exec() != QDialog::Accepted || !dialog.chosen())
        return std::nullopt;
    return dialog.chosen()->sheet;
}

QString uncorrectedPrinter(const SettingsStore& store,
                           const std::optional<PrinterSettingsBlock>& printerSettings)
{
    if (!printerSettings)
        return QString();
    const QString printer = correctedPrinterName(*printerSettings);
    if (printer.isEmpty() || hasPrinterCorrection(store, printer))
        return QString();
    return printer;
}

} // namespace zorvane
