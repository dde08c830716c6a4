#pragma once

#include "DialogBuilder.h"
#include "settings/Numbering.h"
#include "settings/SheetJob.h"
#include "ui/framework/DataExchange.h"

#include <QDialog>
#include <QString>

namespace zorvane {

class ColorChooser;
class SettingsStore;

namespace numberingDialogMessages {
// %1: the field, %2 and %3: its smallest and largest value.
inline constexpr char16_t outOfRange[] = u"%1は %2〜%3 の範囲で入力して下さい。";
// %1: the field, %2: the most characters.
inline constexpr char16_t tooLong[] = u"%1は %2 文字までで入力して下さい。";
} // namespace numberingDialogMessages

// Numbered tickets over one or more sheets: the start, the digits, the
// text around the number, its height, place, stub, colour and backing, and
// the sheets of one print. OK checks every value and that the number fits
// its ticket at that height, then stores the "Numbering" section; a refusal
// leaves the store as it was and the dialog open.
class CNumberingDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr char16_t menuText[] = u"番号を付ける...";

    // job: the sheet as the window shows it now, to check the fit and show
    // the range the next print will use.
    CNumberingDlg(SettingsStore& store, ColorChooser& colorChooser, SheetJob job,
                  QWidget* parent = nullptr);

    void accept() override;

    // The range line as it stands, e.g. "1〜90 (3枚)".
    QString rangeText() const;

private:
    struct Fields
    {
        int enabled = 0;
        int start = 1;
        int digits = 0;
        QString prefix;
        QString suffix;
        int height = 40;
        int inset = 30;
        int backing = 0;
        int sheets = 1;
    };

    void DoDataExchange();
    void OnInitDialog();
    void OnOK();
    void OnChooseColor();
    void showRange();
    bool checkRanges();
    NumberingValues valuesOfFields() const;

    SettingsStore& store_;
    ColorChooser& colorChooser_;
    SheetJob job_;
    BuiltDialog built_;
    DataExchange exchange_;
    Fields fields_;
    NumberingValues values_;
};

} // namespace zorvane
