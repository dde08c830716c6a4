#pragma once

#include <QProgressDialog>

namespace zorvane {

// The progress of a run of several sheets, "シート k / N", with a cancel
// button. It shows only once the run has taken about a second, so a short
// print never flashes it.
class RunProgressDialog : public QProgressDialog
{
    Q_OBJECT

public:
    static constexpr char16_t cancelText[] = u"ｷｬﾝｾﾙ";
    static constexpr int showAfterMs = 1000;

    RunProgressDialog(int sheets, QWidget* parent);

    // Told before each sheet; false once the user has cancelled. Make the
    // dialog when the first sheet starts, so the second it waits counts
    // from there and not from the Print dialog.
    bool advance(int sheet, int sheets);

    static QString sheetText(int sheet, int sheets);
};

} // namespace zorvane
