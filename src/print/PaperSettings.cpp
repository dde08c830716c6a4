#include "PaperSettings.h"

#include "DeviceModeLayout.h"
#include "PrinterSettingsBlock.h"

namespace zorvane {

void writePaperSettings(PrinterSettingsBlock& block, std::optional<PaperKind> paper)
{
    block.writeU32(devmode::fields, devmode::hasOrientation | devmode::hasPaperSize |
                                        devmode::hasPaperLength | devmode::hasPaperWidth);
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

QPageSize pageSizeOf(PaperKind paper)
{
    const PaperSpec& entry = paperSpec(paper);
    return QPageSize(QSizeF(entry.pageWidthMm, entry.pageHeightMm), QPageSize::Millimeter,
                     QString(), QPageSize::ExactMatch);
}

} // namespace zorvane
