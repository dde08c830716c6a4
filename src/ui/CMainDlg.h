#pragma once

#include "DialogBuilder.h"
#include "app/DataExchange.h"
#include "settings/JobSettings.h"

#include <QDialog>
#include <QIcon>

#include <memory>

class QCheckBox;
class QLineEdit;
class QMenu;

namespace zorvane {

class ColorChooser;
class SettingsStore;

// The program's one window: the picture, the ticket type and size, the
// resolution estimate, the paper, the count, the fill order, the preview
// and the buttons. It loads the "Main" values when it opens and stores them
// when it closes (its close button, Esc or the window's close button).
class CMainDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CMainDlg(SettingsStore& store, QWidget* parent = nullptr);
    ~CMainDlg() override;

    // The chooser that the advanced dialog opens; tests put in their own.
    void setColorChooser(std::unique_ptr<ColorChooser> chooser);

    // The values the window holds: the members as last read from the fields
    // and the buttons as they stand.
    MainValues currentValues() const;

    // The values for a repaint: the fields are read without any message, as
    // a paint never shows one; a field that is not a whole number, and every
    // field after it, keeps its last accepted value.
    MainValues valuesForPreview();

    // The command id of the About entry; ids 16 to 31 open the About box.
    static constexpr int aboutCommandId = 16;
    // The window's close command.
    static constexpr int closeCommandId = 0xF060;
    static constexpr char16_t aboutMenuText[] = u"Zorvane のﾊﾞｰｼﾞｮﾝ情報(&A)...";

    // The cancel command: stores the "Main" values and closes.
    void reject() override;
    // The accept command does nothing here.
    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private Q_SLOTS:
    void OnSysCommand(int commandId);
    void OnPrintStart();
    void OnDetailSettings();
    void OnBrowsePicture();
    void OnDropFiles(const QString& path);
    void UpdateForTicketType(TicketType type);
    void UpdateForCustomWidth();
    void UpdateForCustomHeight();
    void OnLayoutChange();

private:
    void DoDataExchange();
    void OnInitDialog();
    void OnOK();
    void OnCancel();

    void connectHandlers();
    void createSystemMenu();
    void loadMainValues();
    void obtainPrinterSettings();
    void setButtonStates(const MainButtonStates& states);
    MainButtonStates buttonStates() const;

    SettingsStore& store_;
    std::unique_ptr<ColorChooser> colorChooser_;
    BuiltDialog built_;
    DataExchange exchange_;
    QMenu* systemMenu_ = nullptr;

    QCheckBox* keepAspect = nullptr;
    QWidget* previewBox = nullptr;
    QLineEdit* imagePath = nullptr;
    int customWidth = 0;  // tenths of a millimetre
    int customHeight = 0; // tenths of a millimetre
    int resolution = 0;   // pixels per inch; shown only
    QString countText;
    QIcon appIcon;
};

} // namespace zorvane
