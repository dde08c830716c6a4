#pragma once

#include "settings/JobSettings.h"
#include "settings/SheetJob.h"
#include "settings/SheetValues.h"

#include <QSize>
#include <QString>

#include <functional>
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
    NumbersDoNotFit,   // a ticket's number does not fit in it at its height
    Cancelled,         // the run was stopped between sheets: nothing written
};

// Told before each sheet of a run is drawn (from 0) and once all are:
// false stops the run.
using RunProgress = std::function<bool(int sheet, int sheets)>;

// The file of one sheet of a run of several: the sheet's number from 1,
// three digits at least, put before the extension ("sheet-001.png").
QString runSheetFilePath(const QString& filePath, int sheet);

// Draws the sheet into a PDF or PNG file of the paper's size in portrait,
// origin at the paper's corner, by the same grid fit and sheet drawing as
// the printer, at the given resolution. The file is replaced only once it
// is complete. The sheet options place, turn and skip as on the printer.
// A JPEG that shows as stored goes into a PDF as the file's
// own bytes; a PNG is drawn and written in bands of rows.
// A run of several sheets (the job's sheet count) goes into one PDF of as
// many pages, the picture stored once, or into one PNG file a sheet
// (runSheetFilePath), all replaced only once every one is complete.
SheetExportResult exportSheet(const QString& filePath, SheetFileFormat format, int dpi,
                              const SheetJob& job, const PictureHolder* picture,
                              const RunProgress& progress = {});

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
