#pragma once

#include "settings/SheetJob.h"

namespace zorvane {

class SettingsStore;

// The job a test's store describes for these values: the Option values and
// the printers' corrections read from it, the sheet options as given.
SheetJob storedJob(const SettingsStore& store, const MainValues& main,
                   const SheetOptions& sheet = {});

// A job that places count tickets of the laid-out size in the given order,
// with the store's Option values and the offsets and gaps given here.
struct Placement
{
    std::optional<TicketSize> ticket;
    std::optional<FillOrder> order;
    int count = 0;
    int offsetX = 100;
    int offsetY = 100;
    int gapV = 3;
    int gapH = 3;
};
SheetJob placedJob(const SettingsStore& store, const Placement& placement,
                   const SheetOptions& sheet = {});

} // namespace zorvane
