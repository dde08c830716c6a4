#pragma once

#include "settings/JobSettings.h"
#include "settings/SheetValues.h"

#include <QString>

#include <optional>

namespace zorvane {

class PictureHolder;
class SettingsStore;

enum class SheetFileFormat
{
    Pdf,
    Png
};

enum class SheetExportResult
{
    Written,
    DoesNotFit,  // the count does not fit, or no ticket type or paper
    CannotWrite, // the file could not be created or written
};

// Draws the sheet into a PDF or PNG file of the paper's size in portrait,
// origin at the paper's corner, by the same grid fit and sheet drawing as
// the printer, at the given resolution. The file is replaced only once it
// is complete. The sheet options place, turn and skip as on the printer.
SheetExportResult exportSheet(const QString& filePath, SheetFileFormat format, int dpi,
                              const MainValues& main, const SettingsStore& store,
                              const PictureHolder* picture, const SheetOptions& sheet = {});

// The calibration sheet of the paper into a file, its marks placed from the
// paper's corner. No paper: DoesNotFit.
SheetExportResult exportCalibrationSheet(const QString& filePath, SheetFileFormat format, int dpi,
                                         std::optional<PaperKind> paper);

} // namespace zorvane
