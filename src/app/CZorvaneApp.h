#pragma once

#include <QString>

namespace zorvane {

class SettingsStore;

// Start-up: names the application after the executable, roots the user's
// store under the organisation name, runs the main window modally and ends
// the program when it closes.
class CZorvaneApp
{
public:
    static constexpr char organizationName[] = "Local AppWizard-Generated Applications";

    // Runs the program; returns the process exit status.
    int run(int& argc, char** argv);

    // Roots the store: the organisation name, with the application named
    // after the executable as Qt names it by default.
    static void configure();

    // The user's store file for the running application's name.
    static QString storePath();
};

} // namespace zorvane
