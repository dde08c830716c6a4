// The label sheet file reader and the conversion of every product it finds,
// on any bytes.
#include "FuzzSupport.h"
#include "settings/JobSettings.h"
#include "settings/LabelSheet.h"
#include "settings/LabelTemplateFile.h"

#include <cmath>

using namespace zorvane;

extern "C" int LLVMFuzzerInitialize(int*, char*** argv)
{
    fuzz::startApplication<QCoreApplication>(argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const LabelTemplateFile file = parseLabelTemplateFile(fuzz::bytesOf(data, size));
    // A file that cannot be used holds nothing.
    if (!file.usable() && !file.templates.isEmpty())
        std::abort();
    for (const LabelTemplate& product : file.templates) {
        if (!std::isfinite(product.labelWidth) || !std::isfinite(product.labelHeight))
            std::abort();
        const LabelSheetConversion conversion = convertLabelSheet(product);
        if (conversion.sheet) {
            MainValues main;
            OptionValues options;
            applyLabelSheet(*conversion.sheet, main, options);
        }
    }
    return 0;
}
