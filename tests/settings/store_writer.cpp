// A second copy of the program, as far as the store goes: opens the store,
// makes one change as its window would and ends.
//   zorvane_store_writer <store> gap <number>      the vertical gap ("Option")
//   zorvane_store_writer <store> placement <word>  the placement ("Sheet")
//   zorvane_store_writer <store> start <number>    the next start number ("Numbering")
#include "settings/JobSettings.h"
#include "settings/Numbering.h"
#include "settings/SettingsStore.h"
#include "settings/SheetValues.h"

#include <QString>

#include <cstdlib>
#include <string_view>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    zorvane::SettingsStore store(QString::fromLocal8Bit(argv[1]));
    const std::string_view what = argv[2];
    if (what == "gap") {
        zorvane::OptionValues values = zorvane::loadOptionValues(store);
        values.gapV = std::atoi(argv[3]);
        zorvane::saveOptionValues(store, values);
        return 0;
    }
    if (what == "placement") {
        const auto placement = zorvane::placementForWord(argv[3]);
        if (!placement)
            return 2;
        zorvane::saveSheetChoice(store, *placement);
        return 0;
    }
    if (what == "start") {
        zorvane::NumberingValues values = zorvane::loadNumberingValues(store);
        values.start = std::atoi(argv[3]);
        zorvane::saveNumberingValues(store, values);
        return 0;
    }
    return 2;
}
