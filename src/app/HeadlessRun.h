#pragma once

#include <QString>

namespace zorvane {

struct CommandLine;
class SettingsStore;

// Runs a command line that asks for no window. Needs a QGuiApplication (on
// any platform plugin, offscreen included) but opens no window. Returns the
// process exit status.
int runHeadless(const CommandLine& line, const QString& storePath);

// Says once on standard error that the store's file was refused and the
// run uses the defaults.
void reportStoreInMemory(const SettingsStore& store);

namespace exitStatus {
inline constexpr int printed = 0;
inline constexpr int doesNotFit = 1;
inline constexpr int badInput = 2;
inline constexpr int printerFailed = 3;
} // namespace exitStatus

} // namespace zorvane
