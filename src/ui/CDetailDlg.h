#pragma once

#include "DialogBuilder.h"
#include "settings/JobSettings.h"
#include "ui/framework/DataExchange.h"

#include <QDialog>

namespace zorvane {

class ColorChooser;
class SettingsStore;

// The advanced settings: start offsets, gaps, the frame and its colour, the
// row and column caps and the preview's text size. It reads the "Option"
// values from the store when it opens and writes them back only when the
// user accepts it with every field a whole number; cancelling stores
// nothing. Accepting repaints the owner so its preview follows at once.
class CDetailDlg : public QDialog
{
    Q_OBJECT

public:
    CDetailDlg(SettingsStore& store, ColorChooser& colorChooser, QWidget* parent = nullptr);

    // The accept command: OK and Enter.
    void accept() override;

private Q_SLOTS:
    void OnChooseColor();

private:
    void DoDataExchange();
    void OnInitDialog();
    void OnOK();

    // The frame colour as the fields last read as whole numbers; the
    // components count by their low 8 bits.
    QColor swatchColor();
    void writeColorFields();

    SettingsStore& store_;
    ColorChooser& colorChooser_;
    BuiltDialog built_;
    DataExchange exchange_;

    // The values the fields show, bound to them one to one.
    OptionValues values_;
};

} // namespace zorvane
