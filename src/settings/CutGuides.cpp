#include "CutGuides.h"

#include "SettingsStore.h"
#include "StoreKeys.h"

#include <algorithm>

namespace zorvane {

CutGuides loadCutGuides(const SettingsStore& store)
{
    CutGuides guides;
    guides.cutMarks = store.GetProfileInt(keys::sheetSection, keys::sheet::cutMarks, 0) != 0;
    guides.bleed =
        std::clamp(store.GetProfileInt(keys::sheetSection, keys::sheet::bleed, 0), 0, maxBleed);
    return guides;
}

void saveCutMarks(SettingsStore& store, bool on)
{
    store.refresh();
    if (loadCutGuides(store).cutMarks == on)
        return;
    store.WriteProfileInt(keys::sheetSection, keys::sheet::cutMarks, on ? 1 : 0);
    store.sync();
}

void saveBleed(SettingsStore& store, int tenths)
{
    store.refresh();
    if (loadCutGuides(store).bleed == tenths)
        return;
    store.WriteProfileInt(keys::sheetSection, keys::sheet::bleed, tenths);
    store.sync();
}

} // namespace zorvane
