#include "LabelSheetActions.h"

#include "LabelSheetDlg.h"
#include "MainWindowMenu.h"
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

ProductEntries addProductEntries(MainWindowMenu& menu, const QStringList& labelFolders)
{
    using Group = MainWindowMenu::Group;
    ProductEntries entries;
    entries.labelSheet =
        menu.addEntry(Group::Products, QString::fromUtf16(productTexts::labelSheet));
    entries.labelSheet->setObjectName(QStringLiteral("chooseLabelSheet"));
    QObject::connect(&menu, &QMenu::aboutToShow, entries.labelSheet,
                     [entry = entries.labelSheet, &labelFolders] {
                         const bool found = LabelDatabase::anyFileIn(labelFolders);
                         entry->setEnabled(found);
                         entry->setText(QString::fromUtf16(found ? productTexts::labelSheet
                                                                 : productTexts::noLabelSheets));
                     });
    entries.calibrationSheet =
        menu.addEntry(Group::Products, QString::fromUtf16(productTexts::calibrationSheet));
    entries.positionCorrection =
        menu.addEntry(Group::Products, QString::fromUtf16(productTexts::positionCorrection));
    return entries;
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
