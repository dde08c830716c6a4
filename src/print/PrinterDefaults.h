#pragma once

#include "PrinterSettingsBlock.h"

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

} // namespace zorvane
