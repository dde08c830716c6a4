#pragma once

#include "print/PrinterSettingsBlock.h"
#include "settings/Catalogue.h"

#include <QString>

#include <optional>

class QWidget;

namespace zorvane {

class PrintDialogPort;
class SettingsStore;

// Prints the calibration sheet of the paper through the same Print dialog
// and printer record as the tickets; says so when the file it printed to
// could not be written whole.
void printCalibrationSheet(QWidget* parent, PrintDialogPort& dialog,
                           const QString& printerSettingsFile, std::optional<PaperKind> paper,
                           std::optional<PrinterSettingsBlock>& printerSettings);

// Opens the position correction of the printer the next print goes to,
// that of the record the window holds; says so when that is no printer.
void correctPrinterPosition(QWidget* parent, SettingsStore& store,
                            const std::optional<PrinterSettingsBlock>& printerSettings,
                            PaperKind paper);

} // namespace zorvane
