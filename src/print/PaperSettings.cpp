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
    const PaperSpec& spec = paperSpec(*paper);
    block.writeI16(devmode::paperSize, std::int16_t(spec.devicePaperCode));
    if (spec.devicePaperCode == userDefinedPaperCode) {
        block.writeI16(devmode::paperWidth, std::int16_t(spec.devicePaperWidth));
        block.writeI16(devmode::paperLength, std::int16_t(spec.devicePaperLength));
    }
}

QPageSize pageSizeOf(PaperKind paper)
{
    const PaperSpec& spec = paperSpec(paper);
    return QPageSize(QSizeF(spec.pageWidthMm, spec.pageHeightMm), QPageSize::Millimeter, QString(),
                     QPageSize::ExactMatch);
}

} // namespace zorvane
