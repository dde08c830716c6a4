#pragma once

#include "settings/JobSettings.h"

#include <QDialog>

class QLabel;

namespace zorvane {

class SettingsStore;

// A placeholder main window: it loads the "Main" values when it opens and
// writes them back when it closes, so the road from start-up to the store
// and back runs before the real main window exists.
class StandInWindow : public QDialog
{
    Q_OBJECT

public:
    explicit StandInWindow(SettingsStore& store, QWidget* parent = nullptr);

    const MainValues& values() const { return values_; }

    void reject() override;

private:
    SettingsStore& store_;
    MainValues values_;
};

} // namespace zorvane
