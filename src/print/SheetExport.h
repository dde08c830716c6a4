#pragma once

#include "settings/JobSettings.h"
#include "settings/SheetJob.h"
#include "settings/SheetValues.h"

#include <QSize>
#include <QString>

#include <optional>

class QIODevice;

namespace zorvane {

struct GridSize;
class PictureHolder;

enum class SheetFileFormat
{
    Pdf,
    Png
};

enum class SheetExportResult
{
    Written,
    DoesNotFit,        // the count does not fit, or no ticket type or paper
    CannotWrite,       // the file could not be created or written
    PictureUnreadable, // the picture's pixels could not be decoded
};

// Draws the sheet into a PDF or PNG file of the paper's size in portrait,
// origin at the paper's corner, by the same grid fit and sheet drawing as
// the printer, at the given resolution. The file is replaced only once it
// is complete. The sheet options place, turn and skip as on the printer.
// A JPEG that shows as stored goes into a PDF as the file's
// own bytes; a PNG is drawn and written in bands of rows.
SheetExportResult exportSheet(const QString& filePath, SheetFileFormat format, int dpi,
                              const SheetJob& job, const PictureHolder* picture);

// Draws the sheet band by band and writes each band's rows as an 8-bit RGB
// PNG with the resolution recorded; the pixels are those of the whole page
// drawn at once on a white 32-bit image.
bool writeSheetPng(QIODevice& device, QSize pixels, int dpi, const SheetJob& job,
                   const PictureHolder* picture, const GridSize& grid);

// The calibration sheet of the paper into a file, its marks placed from the
// paper's corner. No paper: DoesNotFit.
SheetExportResult exportCalibrationSheet(const QString& filePath, SheetFileFormat format, int dpi,
                                         std::optional<PaperKind> paper);

} // namespace zorvane
