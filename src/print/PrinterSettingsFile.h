#pragma once

#include <QString>

namespace zorvane {

class PrinterSettingsBlock;

inline constexpr char printerSettingsFileName[] = "devmode.zvn";

// "devmode.zvn" beside the executable, so every user of one installation
// shares it; beside the settings store when the executable's directory
// cannot be written or is a system directory (/usr and the like: an
// installed package), even for root.
QString printerSettingsFilePath(const QString& executableDir, const QString& storeFilePath);
// The same for the running program.
QString printerSettingsFilePath(const QString& storeFilePath);

// Lays the stored record over the start of the block. A missing, unreadable
// or empty file changes nothing; a short one replaces only the block's first
// bytes. A file longer than the block, or one whose sizes claim more than the
// block holds, is ignored and the block keeps the default printer's record.
void LoadPrinterSettingsFile(PrinterSettingsBlock& block, const QString& filePath);

// Writes exactly the record's bytes, with no header. The file is replaced
// only once the whole record is on disk, so a failed write leaves the
// previous file as it was. Returns whether it was written.
bool SavePrinterSettingsFile(const PrinterSettingsBlock& block, const QString& filePath);

} // namespace zorvane
