#pragma once

#include "DialogBuilder.h"
#include "ui/framework/DataExchange.h"

#include <QDialog>

namespace zorvane {

class SettingsStore;

namespace ids::bleed {
inline constexpr int value = 1000;
} // namespace ids::bleed

// The bleed, in 0.1 mm, from 0 to 30 mm: how far the picture of a
// stretched or filled ticket runs past its cut line. OK stores it; a text
// that is not a whole number, or one out of range, gets its message and
// leaves the store as it was and the dialog open.
class CBleedDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr char16_t outOfRangeMessage[] =
        u"塗り足しは 0～300 (X 0.1mm) の範囲で入力して下さい。";

    explicit CBleedDlg(SettingsStore& store, QWidget* parent = nullptr);

    void accept() override;

private:
    SettingsStore& store_;
    BuiltDialog built_;
    DataExchange exchange_;
    int bleed_ = 0; // tenths of a millimetre
};

} // namespace zorvane
