#pragma once

#include "PrinterSettingsBlock.h"

#include <QString>

#include <optional>

namespace zorvane {

// Where printing goes on a system without any printer.
enum class WithoutPrinter
{
    PdfFile, // a PDF file, so the Print dialog can still print to a file
    Fail,    // nowhere: printing needs a real printer
};

// The default destination's record, obtained without showing a window. On
// success the block is set and the result is true; otherwise it is reset.
bool GetPrinterDefaults(std::optional<PrinterSettingsBlock>& printerSettings,
                        WithoutPrinter withoutPrinter = WithoutPrinter::PdfFile);

// What a print without a window starts from: the default destination's
// record with the printer settings file laid over it. Without any printer
// (no scheduler runs, or it knows no queue) only a file that names a file to
// print to gives a record: writing a file needs no printer.
bool GetStoredPrinterDefaults(std::optional<PrinterSettingsBlock>& printerSettings,
                              const QString& settingsFilePath);

} // namespace zorvane
