#pragma once

#include "DialogBuilder.h"
#include "LabelSheetActions.h"
#include "PictureSession.h"
#include "settings/JobSettings.h"
#include "settings/SheetJob.h"
#include "settings/SheetValues.h"
#include "ui/framework/DataExchange.h"

#include "print/PrinterSettingsBlock.h"

#include <QDialog>
#include <QIcon>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QLineEdit;

namespace zorvane {

class ColorChooser;
class KeyRepeatGuard;
class MainWindowMenu;
class PictureHolder;
class SheetChoicesMenu;
class PreviewWidget;
class PrintDialogPort;
class SettingsStore;
struct LabelSheet;
struct PictureFields;
struct PictureFieldsUpdate;

// The program's one window: the picture, the ticket type and size, the
// resolution estimate, the paper, the count, the fill order, the preview
// and the buttons. It loads the "Main" values when it opens and stores them
// when it closes (its close button, Esc or the window's close button).
class CMainDlg : public QDialog
{
    Q_OBJECT

public:
    // printerSettingsFile: where the printer's settings are kept; empty for
    // "devmode.zvn" beside the executable (or beside the store).
    explicit CMainDlg(SettingsStore& store, QWidget* parent = nullptr,
                      const QString& printerSettingsFile = QString());
    ~CMainDlg() override;

    // The chooser that the advanced dialog opens; tests put in their own.
    void setColorChooser(std::unique_ptr<ColorChooser> chooser);
    // The Print dialog of the print command; tests put in their own.
    void setPrintDialog(std::unique_ptr<PrintDialogPort> dialog);
    // Asks for a picture file; returns its path, or an empty text on cancel.
    using PictureFileChooser = std::function<QString(QWidget* parent)>;
    void setPictureFileChooser(PictureFileChooser chooser);

    // Where the label sheet products are looked for; tests put in their own.
    void setLabelFolders(const QStringList& folders) { labelFolders = folders; }

    // Sets the window and the advanced values to a label sheet as if the
    // user had typed them: ticket type "その他" with the label's size, the
    // paper, and offsets, gaps and row and column limits (switched on) as
    // the advanced dialog's OK stores them, and the tickets no longer
    // turned, as the labels stand. The preview follows at once.
    void ApplyLabelSheet(const LabelSheet& sheet);

    // Loads a picture file; a file that cannot be read changes nothing and a
    // message box says why (missing, too large, damaged, no picture). A
    // JPEG shows at once from its header and a reduced decode; its full
    // pixels are decoded on a worker thread at the first print. Should that
    // decode fail, everything is put back as it was before the load and the
    // print says why.
    void LoadPicture(const QString& path);

    const PictureHolder* loadedPicture() const { return pictures.picture(); }
    const std::optional<PrinterSettingsBlock>& heldPrinterSettings() const
    {
        return printerSettings;
    }
    QString printerSettingsFile() const { return printerSettingsPath; }

    // The values the window holds: the members as last read from the fields
    // and the buttons as they stand.
    MainValues currentValues() const;

    // The values for a repaint: the fields are read without any message, as
    // a paint never shows one; a field that is not a whole number, and every
    // field after it, keeps its last accepted value.
    MainValues valuesForPreview();

    // The sheet job of the given values, read from the store now: the
    // Option values, the sheet choices and the used cells kept for that
    // paper, ticket size and turn.
    SheetJob jobFor(const MainValues& values) const;

    // The command id of the About entry; ids 16 to 31 open the About box.
    static constexpr int aboutCommandId = 16;
    // The window's close command.
    static constexpr int closeCommandId = 0xF060;
    static constexpr char16_t aboutMenuText[] = u"Zorvane のﾊﾞｰｼﾞｮﾝ情報(&A)...";
    // "印刷開始" with a count of 0 or less.
    static constexpr char16_t noCountMessage[] = u"印刷する数を1以上で入力して下さい。";
    // "印刷開始" with a custom ticket of no area.
    static constexpr char16_t noTicketAreaMessage[] = u"券の幅と高さを1以上で入力して下さい。";
    static constexpr const char16_t* calibrationSheetMenuText = productTexts::calibrationSheet;
    static constexpr const char16_t* positionCorrectionMenuText = productTexts::positionCorrection;
    static constexpr const char16_t* labelSheetMenuText = productTexts::labelSheet;
    // In the label chooser's note while the tickets are turned.
    static constexpr char16_t labelSheetUnturnsNote[] =
        u"ラベル用紙を選ぶと\"券を90度回転\"は解除されます。";
    static constexpr const char16_t* noLabelSheetsMenuText = productTexts::noLabelSheets;
    // %1: the printer's name.
    static constexpr char16_t uncalibratedPrinterNote[] =
        u"プリンタ %1 は位置の補正がされていません。ラベルの位置は用紙の端から測っているため、"
        u"印刷がずれることがあります。位置合わせ用紙で補正して下さい。";

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
    void OnPreviewCellClicked(zorvane::GridCell cell);
    void OnResolutionEdit();
    void OnPrintCalibrationSheet();
    void OnPositionCorrection();
    void OnChooseLabelSheet();
    void OnNumbering();

private:
    void DoDataExchange();
    void OnInitDialog();
    void OnOK();
    void OnCancel();

    void connectHandlers();
    void createSystemMenu();
    void clearUsedCells();
    void takeStoredMainValues();
    void obtainPrinterSettings();
    PictureFields pictureFields() const;
    void showPictureUpdate(const PictureFieldsUpdate& update);
    bool decodeFullPicture();
    void repaintWithCurrentValues();

    SettingsStore& store;
    QString printerSettingsPath;
    std::unique_ptr<ColorChooser> colorChooser;
    std::unique_ptr<PrintDialogPort> printDialog;
    PictureFileChooser choosePictureFile;
    BuiltDialog built;
    DataExchange exchange;
    MainWindowMenu* systemMenu = nullptr;
    SheetChoicesMenu* sheetMenu = nullptr;
    std::unique_ptr<KeyRepeatGuard> keyRepeatGuard;
    QStringList labelFolders;

    PictureSession pictures;
    std::optional<PrinterSettingsBlock> printerSettings;

    PreviewWidget* previewBox = nullptr;
    QLineEdit* imagePath = nullptr;
    QString lastPictureChosen; // by the file dialog or a drop, loaded or not
    int customWidth = 0;       // tenths of a millimetre
    int customHeight = 0;      // tenths of a millimetre
    int resolution = 0;        // pixels per inch; shown only
    QString countText;
    QIcon appIcon;
};

} // namespace zorvane
