#pragma once

#include <QString>

namespace zorvane {

struct CommandLine;

// Runs a command line that asks for no window. Needs a QGuiApplication (on
// any platform plugin, offscreen included) but opens no window. Returns the
// process exit status.
int runHeadless(const CommandLine& line, const QString& storePath);

// Says once on standard error when the store's path is not a regular file,
// so the run uses the defaults.
void reportUnusableStore(const QString& storePath);

namespace exitStatus {
inline constexpr int printed = 0;
inline constexpr int doesNotFit = 1;
inline constexpr int badInput = 2;
inline constexpr int printerFailed = 3;
inline constexpr int nothingToPrint = 4;
} // namespace exitStatus

} // namespace zorvane
