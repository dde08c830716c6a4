#pragma once

#include "PrinterCorrection.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

namespace zorvane {

class SettingsStore;

// The position corrections of the printers, one group per printer in the
// store's section "Calibration". Nothing is written there until the user
// saves a correction.

// The store group of a printer: the section and the printer's full name
// percent-encoded, so that no character of the name splits the key.
QByteArray calibrationGroup(const QString& printerName);

// The printer's correction, or none when there is no printer name, nothing
// is stored, or what is stored is incomplete or out of range (a
// hand-edited store is not trusted to bend the output by more than 10 %).
std::optional<PositionCorrection> loadPrinterCorrection(const SettingsStore& store,
                                                        const QString& printerName);
// Every printer's correction that loads, by printer name.
std::map<QString, PositionCorrection> loadPrinterCorrections(const SettingsStore& store);
bool hasPrinterCorrection(const SettingsStore& store, const QString& printerName);
// Nothing is written for an empty printer name; both write through the
// store's checked write.
void savePrinterCorrection(SettingsStore& store, const QString& printerName,
                           const PositionCorrection& correction);
void resetPrinterCorrection(SettingsStore& store, const QString& printerName);

} // namespace zorvane
