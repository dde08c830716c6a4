#pragma once

#include "settings/Catalogue.h"

#include <QPageSize>

#include <optional>

namespace zorvane {

class PrinterSettingsBlock;

// Writes the paper of the main values into the record before the Print
// dialog sees it: always portrait, and the paper's code; the quarter sheet
// as a user-defined size 148 mm wide and 105 mm long. These four fields are
// flagged in addition to those the record already holds.
void writePaperSettings(PrinterSettingsBlock& block, std::optional<PaperKind> paper);

// One copy, flagged: a run of several copies is never repeated by accident
// on the next print, nor by a print from the command line.
void startCopiesAtOne(PrinterSettingsBlock& block);

// The page the printer gets for a paper, in portrait: A4, JIS B5, or the
// quarter sheet lying on its long side.
QPageSize pageSizeOf(PaperKind paper);

} // namespace zorvane
