// A second copy of the program, as far as the store goes: opens the store,
// writes one Option value and ends.
#include "settings/JobSettings.h"
#include "settings/SettingsStore.h"

#include <QString>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    zorvane::SettingsStore store(QString::fromLocal8Bit(argv[1]));
    zorvane::OptionValues values = zorvane::loadOptionValues(store);
    values.gapV = std::atoi(argv[2]);
    zorvane::saveOptionValues(store, values);
    return 0;
}
