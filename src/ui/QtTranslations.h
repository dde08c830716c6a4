#pragma once

class QCoreApplication;

namespace zorvane {

// Loads Qt's own Japanese texts (the Print, file and colour dialogs, the
// message boxes' buttons) whatever the user's locale, so they speak like the
// rest of the program. Returns whether they were found: without Debian's
// qt6-translations-l10n those dialogs stay in English.
bool installQtJapanese(QCoreApplication& app);

} // namespace zorvane
