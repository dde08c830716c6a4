#pragma once

#include "settings/Catalogue.h"

#include <QPageSize>

#include <optional>

namespace zorvane {

class PrinterSettingsBlock;

// Writes the paper of the main values into the record before the Print
// dialog sees it: always portrait, and the paper's code; the quarter sheet
// as a user-defined size 148 mm wide and 105 mm long. The field set is
// replaced by exactly these four fields.
void writePaperSettings(PrinterSettingsBlock& block, std::optional<PaperKind> paper);

// The page the printer gets for a paper, in portrait: A4, JIS B5, or the
// quarter sheet lying on its long side.
QPageSize pageSizeOf(PaperKind paper);

} // namespace zorvane
