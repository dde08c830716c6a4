#include "PaperSettings.h"

#include "DeviceModeLayout.h"
#include "PrinterSettingsBlock.h"

namespace zorvane {

void writePaperSettings(PrinterSettingsBlock& block, std::optional<PaperKind> paper)
{
    // The flags are added, not replaced: what the user chose in the Print
    // dialog last time (colour, duplex, collation, resolution) stays in force.
    block.writeU32(devmode::fields, block.dmFields() | devmode::hasOrientation |
                                        devmode::hasPaperSize | devmode::hasPaperLength |
                                        devmode::hasPaperWidth);
    block.writeI16(devmode::orientation, devmode::portrait);
    if (!paper)
        return;
    const PaperSpec& entry = paperSpec(*paper);
    block.writeI16(devmode::paperSize, std::int16_t(entry.devicePaperCode));
    if (entry.devicePaperCode == userDefinedPaperCode) {
        block.writeI16(devmode::paperWidth, std::int16_t(entry.devicePaperWidth));
        block.writeI16(devmode::paperLength, std::int16_t(entry.devicePaperLength));
    }
}

void startCopiesAtOne(PrinterSettingsBlock& block)
{
    block.writeU32(devmode::fields, block.dmFields() | devmode::hasCopies);
    block.writeI16(devmode::copies, 1);
}

QPageSize pageSizeOf(PaperKind paper)
{
    const PaperSpec& entry = paperSpec(paper);
    return QPageSize(QSizeF(entry.pageWidthMm, entry.pageHeightMm), QPageSize::Millimeter,
                     QString(), QPageSize::ExactMatch);
}

} // namespace zorvane
