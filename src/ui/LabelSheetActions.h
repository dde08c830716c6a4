#pragma once

#include "print/PrinterSettingsBlock.h"
#include "settings/LabelSheet.h"

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace zorvane {

class SettingsStore;

// Asks the user for a label sheet product from the databases in the
// folders, with the notes shown above the list; none when the chooser is
// cancelled. Files of the databases that cannot be read are logged.
std::optional<LabelSheet> askForLabelSheet(QWidget* parent, const QStringList& folders,
                                           const QString& notes);

// The printer the next print goes to when it has no stored position
// correction: a label sheet's positions count from the paper's edge, and
// only a corrected printer puts them there. Empty when the printer is
// corrected or the record names a file.
QString uncorrectedPrinter(const SettingsStore& store,
                           const std::optional<PrinterSettingsBlock>& printerSettings);

} // namespace zorvane
