#pragma once

#include "settings/LabelSheet.h"
#include "settings/SheetJob.h"

#include <optional>

namespace zorvane {

class SettingsStore;
struct CommandLine;

// The sheet job of one windowless run: the stored values, read once, with
// the command line's in their place. A label sheet replaces the ticket,
// paper, offsets, gaps and limits for this run only, and with it the
// stored turn, which no label sheet is laid out for (--turn still turns).
// --skip makes the first cells in fill order the used ones instead of the
// cells marked for this paper and ticket; --count all asks for every free
// cell. Nothing is written to the store.
SheetJob runJob(const CommandLine& line, const SettingsStore& store,
                const std::optional<LabelSheet>& labelSheet);

} // namespace zorvane
