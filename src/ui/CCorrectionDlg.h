#pragma once

#include "DialogBuilder.h"
#include "settings/Catalogue.h"
#include "ui/framework/DataExchange.h"

#include <QDialog>
#include <QString>

namespace zorvane {

class SettingsStore;

namespace correctionMessages {
inline constexpr char16_t scaleOutOfRange[] =
    u"測った値から求めた倍率が 0.9～1.1 の範囲を超えています。\n測った値を確かめて下さい。";
inline constexpr char16_t offPaper[] =
    u"用紙の外になる値は入力できません。\n測った値を確かめて下さい。";
inline constexpr char16_t noPrinter[] =
    u"位置を補正するプリンタがありません。\n印刷開始でプリンタを選んで下さい。";
} // namespace correctionMessages

// The position correction of one printer: the user enters where the two
// crosshairs of the calibration sheet were measured, in 0.1 mm from the
// paper's left and top edges; OK derives the printer's shift and scale from
// them and stores them for that printer. The reset button removes the
// printer's correction. Nothing else in the store changes.
class CCorrectionDlg : public QDialog
{
    Q_OBJECT

public:
    // printerName: the printer the correction is for; paper: the paper the
    // calibration sheet was printed on, which places the second crosshair.
    CCorrectionDlg(SettingsStore& store, QString printerName, PaperKind paper,
                   QWidget* parent = nullptr);

    // The accept command: OK and Enter.
    void accept() override;

private Q_SLOTS:
    void OnReset();

private:
    void DoDataExchange();
    void OnInitDialog();
    void OnOK();
    void showCurrentCorrection();

    SettingsStore& store_;
    QString printerName_;
    PaperKind paper_;
    BuiltDialog built_;
    DataExchange exchange_;

    int nearX = 0; // tenths of a millimetre from the paper's left edge
    int nearY = 0; // tenths of a millimetre from the paper's top edge
    int farX = 0;
    int farY = 0;
};

} // namespace zorvane
