#include "CMainDlg.h"

#include "AppIcon.h"
#include "CAboutDlg.h"
#include "CDetailDlg.h"
#include "CNumberingDlg.h"
#include "CalibrationActions.h"
#include "ColorChooser.h"
#include "CutGuidesMenu.h"
#include "DialogTemplates.h"
#include "DroppedFiles.h"
#include "KeyRepeatGuard.h"
#include "LabelSheetActions.h"
#include "MainButtonGroups.h"
#include "MainWindowMenu.h"
#include "PictureFileDialog.h"
#include "PictureProblemText.h"
#include "PreviewWidget.h"
#include "RunProgressDialog.h"
#include "SheetChoicesMenu.h"
#include "SystemPrintDialog.h"
#include "layout/SheetGeometry.h"
#include "picture/PictureHolder.h"
#include "picture/PictureUpdates.h"
#include "preview/PagePreview.h"
#include "print/PrintJob.h"
#include "print/PrinterSettingsFile.h"
#include "settings/LabelDatabase.h"
#include "settings/Numbers.h"
#include "settings/SettingsStore.h"
#include "ui/framework/MessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>
#include <array>

namespace zorvane {

using namespace Qt::StringLiterals;

namespace {

namespace id = ids::main;

// Said by the print command after a picture's full decode failed.
constexpr char16_t unreadPictureMessage[] =
    u"画像ファイルを読み込めません。\n画像を選び直して下さい。";

bool isEnterKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

CMainDlg::CMainDlg(SettingsStore& store, QWidget* parent, const QString& printerSettingsFile)
    : QDialog(parent), store(store),
      printerSettingsPath(printerSettingsFile.isEmpty() ? printerSettingsFilePath(store.fileName())
                                                        : printerSettingsFile),
      colorChooser(std::make_unique<ColorDialogChooser>()),
      printDialog(std::make_unique<SystemPrintDialog>(this)),
      choosePictureFile([this](QWidget* owner) {
          return askForPictureFile(owner, pictureDialogFolder(lastPictureChosen));
      }),
      keyRepeatGuard(std::make_unique<KeyRepeatGuard>()),
      labelFolders(LabelDatabase::standardFolders()), appIcon(zorvane::appIcon())
{
    built = DialogBuilder::build(
        *this, mainDialogTemplate(),
        [this](const ControlTemplate& row, QWidget* parent) -> QWidget* {
            if (row.id != id::previewBox)
                return nullptr;
            return new PreviewWidget([this](const MainValues& values) { return jobFor(values); },
                                     parent);
        });
    built.nameControls(mainDialogNames());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setAcceptDrops(true);
    // No push button is a default button: Enter presses only the button that
    // has the focus, and does nothing in a field.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);

    DoDataExchange();
    connectHandlers();
    OnInitDialog();
}

CMainDlg::~CMainDlg() = default;

void CMainDlg::setColorChooser(std::unique_ptr<ColorChooser> chooser)
{
    colorChooser = std::move(chooser);
}

void CMainDlg::setPrintDialog(std::unique_ptr<PrintDialogPort> dialog)
{
    printDialog = std::move(dialog);
}

void CMainDlg::setPictureFileChooser(PictureFileChooser chooser)
{
    choosePictureFile = std::move(chooser);
}

void CMainDlg::DoDataExchange()
{
    previewBox = built.control<PreviewWidget>(id::previewBox);
    imagePath = built.control<QLineEdit>(id::imagePath);
    exchange.bindInt(built.control<QLineEdit>(id::customWidth), &customWidth);
    exchange.bindInt(built.control<QLineEdit>(id::customHeight), &customHeight);
    exchange.bindInt(built.control<QLineEdit>(id::resolution), &resolution);
    exchange.bindComboText(built.control<QComboBox>(id::count), &countText);
}

void CMainDlg::connectHandlers()
{
    auto clicked = [this](int controlId, auto handler) {
        connect(built.control<QAbstractButton>(controlId), &QAbstractButton::clicked, this,
                handler);
    };
    clicked(id::close, &CMainDlg::reject);
    clicked(id::printStart, &CMainDlg::OnPrintStart);
    clicked(id::detailSettings, &CMainDlg::OnDetailSettings);
    clicked(id::browsePicture, &CMainDlg::OnBrowsePicture);
    for (std::size_t i = 0; i < mainTicketIds.size(); ++i) {
        const TicketType type = allTicketTypes[i];
        clicked(mainTicketIds[i], [this, type] { UpdateForTicketType(type); });
    }
    for (int layoutId :
         {id::paperA4, id::paperB5, id::paperA4Quarter, id::rowsFirst, id::columnsFirst})
        clicked(layoutId, &CMainDlg::OnLayoutChange);
    clicked(id::keepAspect, &CMainDlg::UpdateForCustomWidth);

    connect(built.control<QLineEdit>(id::customWidth), &QLineEdit::textChanged, this,
            &CMainDlg::UpdateForCustomWidth);
    connect(built.control<QLineEdit>(id::customHeight), &QLineEdit::textChanged, this,
            &CMainDlg::UpdateForCustomHeight);

    auto* count = built.control<QComboBox>(id::count);
    connect(count, &QComboBox::currentIndexChanged, this, &CMainDlg::OnLayoutChange);
    // A choice from the list repaints also when it is the entry already
    // selected: the field may hold a typed count since.
    connect(count, &QComboBox::activated, this, &CMainDlg::OnLayoutChange);
    connect(count->lineEdit(), &QLineEdit::textEdited, this, &CMainDlg::OnLayoutChange);
    connect(previewBox, &PreviewWidget::cellClicked, this, &CMainDlg::OnPreviewCellClicked);
    connect(built.control<QLineEdit>(id::resolution), &QLineEdit::textEdited, this,
            &CMainDlg::OnResolutionEdit);
}

void CMainDlg::OnInitDialog()
{
    exchange.write();
    createSystemMenu();
    setWindowIcon(appIcon);
    takeStoredMainValues();
    obtainPrinterSettings();
    exchange.write();
    if (QWidget* first = built.firstTabStop())
        first->setFocus(Qt::OtherFocusReason);
}

// The window manager keeps the window menu to itself, so the About entry
// lives in a context menu of the window's background that stands in for it.
void CMainDlg::createSystemMenu()
{
    systemMenu =
        new MainWindowMenu(closeCommandId, aboutCommandId, QString::fromUtf16(aboutMenuText), this);
    connect(systemMenu, &MainWindowMenu::systemCommand, this, &CMainDlg::OnSysCommand);
    sheetMenu = new SheetChoicesMenu(store, *systemMenu);
    connect(sheetMenu, &SheetChoicesMenu::changed, this, &CMainDlg::repaintWithCurrentValues);
    connect(sheetMenu, &SheetChoicesMenu::clearUsedCellsAsked, this, &CMainDlg::clearUsedCells);
    connect(new CutGuidesMenu(store, *systemMenu), &CutGuidesMenu::changed, this,
            &CMainDlg::repaintWithCurrentValues);
    connect(systemMenu->addEntry(MainWindowMenu::Group::Sheet,
                                 QString::fromUtf16(CNumberingDlg::menuText)),
            &QAction::triggered, this, &CMainDlg::OnNumbering);
    const ProductEntries products = addProductEntries(*systemMenu, labelFolders);
    connect(products.labelSheet, &QAction::triggered, this, &CMainDlg::OnChooseLabelSheet);
    connect(products.calibrationSheet, &QAction::triggered, this,
            &CMainDlg::OnPrintCalibrationSheet);
    connect(products.positionCorrection, &QAction::triggered, this,
            &CMainDlg::OnPositionCorrection);
}

SheetJob CMainDlg::jobFor(const MainValues& values) const
{
    // The preview asks already while the window is built, before the menu.
    return readSheetJob(store, values, sheetMenu ? sheetMenu->choices() : loadSheetChoices(store));
}

void CMainDlg::clearUsedCells()
{
    saveUsedCells(store, jobFor(valuesForPreview()), {});
    repaintWithCurrentValues();
}

// The preview reports cells of the page it shows, for the values it was
// last given; the mark is kept for that paper and ticket.
void CMainDlg::OnPreviewCellClicked(GridCell cell)
{
    const SheetJob job = jobFor(previewBox->mainValues());
    CellSet used = job.sheet.usedCells;
    if (!used.erase(cell))
        used.insert(cell);
    saveUsedCells(store, job, used);
    repaintWithCurrentValues();
}

void CMainDlg::takeStoredMainValues()
{
    const MainValues stored = loadMainValues(store);
    customWidth = stored.customWidth;
    customHeight = stored.customHeight;
    countText = stored.countText;
    showMainButtonStates(built, loadMainButtonStates(store));
}

MainValues CMainDlg::currentValues() const
{
    MainValues values;
    values.customWidth = customWidth;
    values.customHeight = customHeight;
    values.countText = countText;
    applyButtonStates(mainButtonStates(built), values);
    return values;
}

MainValues CMainDlg::valuesForPreview()
{
    exchange.read(DataExchange::Report::Silent);
    return currentValues();
}

void CMainDlg::obtainPrinterSettings()
{
    if (!GetPrinterDefaults(printerSettings)) {
        showMessage(this, QString::fromUtf16(printMessages::noPrinter));
        return;
    }
    LoadPrinterSettingsFile(*printerSettings, printerSettingsPath);
}

void CMainDlg::OnSysCommand(int commandId)
{
    if ((commandId & 0xFFF0) == aboutCommandId) {
        CAboutDlg about(this);
        about.exec();
    } else if (commandId == closeCommandId) {
        close();
    }
}

void CMainDlg::OnDetailSettings()
{
    CDetailDlg dialog(store, *colorChooser, this);
    // The preview is an opaque child that repainting the window leaves out;
    // it shows the new Option values at once.
    if (dialog.exec() == QDialog::Accepted)
        previewBox->update();
}

void CMainDlg::OnNumbering()
{
    exchange.read(DataExchange::Report::Silent);
    CNumberingDlg dialog(store, *colorChooser, jobFor(currentValues()), this);
    if (dialog.exec() == QDialog::Accepted)
        previewBox->update();
}

void CMainDlg::OnChooseLabelSheet()
{
    QStringList notes;
    if (sheetMenu->choices().turned)
        notes.append(QString::fromUtf16(labelSheetUnturnsNote));
    if (const QString printer = uncorrectedPrinter(store, printerSettings); !printer.isEmpty())
        notes.append(QString::fromUtf16(uncalibratedPrinterNote).arg(printer));
    if (const std::optional<LabelSheet> sheet =
            askForLabelSheet(this, labelFolders, notes.join(u'\n')))
        ApplyLabelSheet(*sheet);
}

// The same steps as the user's: the advanced values stored as the advanced
// dialog's OK stores them, the size written into its fields (without the
// keep-aspect coupling, which would change the label's height), then the
// clicks on "その他" and on the paper, which estimate the resolution and
// repaint the preview.
void CMainDlg::ApplyLabelSheet(const LabelSheet& sheet)
{
    // A label's size is given as the label stands; turned tickets would not
    // match the labels. The menu's entry switches it off as a click would.
    sheetMenu->turnUpright();
    exchange.read(DataExchange::Report::Silent);
    MainValues main = currentValues();
    OptionValues options = loadOptionValues(store);
    zorvane::applyLabelSheet(sheet, main, options);
    saveOptionValues(store, options);

    customWidth = main.customWidth;
    customHeight = main.customHeight;
    exchange.write();
    built.control<QRadioButton>(id::typeOther)->click();
    const auto paperIndex =
        std::size_t(std::ranges::find(allPaperKinds, sheet.paper) - allPaperKinds.begin());
    built.control<QRadioButton>(mainPaperIds[paperIndex])->click();
    repaintWithCurrentValues();
}

void CMainDlg::OnLayoutChange()
{
    repaintWithCurrentValues();
}

// The preview paints the values as last accepted from the fields; a paint
// itself never reads them, so it can never show a message.
void CMainDlg::repaintWithCurrentValues()
{
    const MainValues values = valuesForPreview();
    previewBox->setMainValues(values);
    update();
}

// The resolution field is only shown, but it is read with the others: a
// text in it that is not a whole number would keep every later field, the
// count among them, from being read. It is refused as the size fields are.
void CMainDlg::OnResolutionEdit()
{
    auto* field = built.control<QLineEdit>(id::resolution);
    if (!exchange.read() && !parseWholeNumber(field->text())) {
        const QSignalBlocker blocker(field);
        field->setText(QString::number(resolution));
        field->selectAll();
    }
    repaintWithCurrentValues();
}

void CMainDlg::OnPrintStart()
{
    if (!decodeFullPicture()) {
        showMessage(this, QString::fromUtf16(unreadPictureMessage));
        return;
    }
    // A command reports a rejected field again, even one reported before.
    exchange.forgetRejection();
    exchange.read();
    // A sheet of labels is not spent on an empty print.
    if (!pictures.picture()) {
        showMessage(this, noPictureNotice());
        return;
    }
    // The store is read once for the whole print, as it was when the
    // command started.
    const SheetJob sheet = jobFor(currentValues());
    if (sheet.count <= 0) {
        showMessage(this, QString::fromUtf16(noCountMessage));
        return;
    }
    if (sheet.ticketHasNoArea()) {
        showMessage(this, QString::fromUtf16(noTicketAreaMessage));
        return;
    }
    PrintJob job(
        *printDialog, [this](const QString& text) { showMessage(this, text); },
        printerSettingsPath);
    // A run of several sheets can take a while: it can be followed and
    // stopped; a stopped run prints nothing and keeps the start.
    std::unique_ptr<RunProgressDialog> progress;
    if (sheet.numbering.sheets > 1)
        job.setProgress([this, &progress](int at, int sheets) {
            if (!progress)
                progress = std::make_unique<RunProgressDialog>(sheets, this);
            return progress->advance(at, sheets);
        });
    const PrintJob::Outcome outcome = job.run(sheet, pictures.picture(), printerSettings);
    progress.reset();
    if (outcome == PrintJob::Outcome::FileNotWritten)
        showMessage(this, QString::fromUtf16(printMessages::cannotWriteFile));
    if (outcome == PrintJob::Outcome::Printed && sheetMenu->choices().markPrinted) {
        saveUsedCells(store, sheet, usedAfterPrint(sheet));
        repaintWithCurrentValues();
    }
    // Only paper advances the numbers: a print into a file is a draft.
    if (outcome == PrintJob::Outcome::Printed && job.outputFile().isEmpty() &&
        sheet.numbering.enabled) {
        saveStartAfterPrintedRun(store, sheet.numbering, sheet.count);
        previewBox->update();
    }
}

void CMainDlg::OnPrintCalibrationSheet()
{
    exchange.forgetRejection();
    exchange.read();
    printCalibrationSheet(this, *printDialog, printerSettingsPath, currentValues().paper,
                          printerSettings);
}

void CMainDlg::OnPositionCorrection()
{
    exchange.read(DataExchange::Report::Silent);
    correctPrinterPosition(this, store, printerSettings,
                           currentValues().paper.value_or(PaperKind::A4));
}

void CMainDlg::OnBrowsePicture()
{
    const QString path = choosePictureFile(this);
    if (!path.isEmpty())
        LoadPicture(path);
}

void CMainDlg::OnDropFiles(const QString& path)
{
    LoadPicture(path);
}

void CMainDlg::LoadPicture(const QString& path)
{
    lastPictureChosen = path;
    // A ticket never outgrows the preview box, in device pixels.
    const QSize screen = previewBox->size() * previewBox->devicePixelRatio();
    const PictureShown shownNow{imagePath->text(), customWidth, customHeight, resolution};
    if (const PictureProblem problem = pictures.open(path, screen, shownNow);
        problem != PictureProblem::None) {
        showMessage(this, pictureProblemMessage(problem));
        return;
    }
    previewBox->setPicture(pictures.picture());
    imagePath->setText(path);
    exchange.read();
    showPictureUpdate(fieldsForLoadedPicture(pictureFields(), pictures.picture()->size()));
    // The thumbnail is on screen at once; the picture itself follows, decoded
    // on a worker while the window keeps painting.
    if (pictures.picture()->holdsThumbnailOnly()) {
        previewBox->repaint();
        if (!decodeFullPicture())
            showMessage(this, pictureProblemMessage(PictureProblem::Damaged));
        previewBox->update();
    }
}

// When the picture's full pixels cannot be decoded for a print, the window
// returns to how it was before the picture was loaded.
bool CMainDlg::decodeFullPicture()
{
    const std::optional<PictureShown> before = pictures.decodeFullOrRollBack();
    if (!before)
        return true;
    previewBox->setPicture(pictures.picture());
    imagePath->setText(before->path);
    customWidth = before->customWidth;
    customHeight = before->customHeight;
    resolution = before->resolution;
    exchange.write();
    repaintWithCurrentValues();
    return false;
}

PictureFields CMainDlg::pictureFields() const
{
    return PictureFields{currentValues(), resolution};
}

void CMainDlg::showPictureUpdate(const PictureFieldsUpdate& update)
{
    customWidth = update.fields.main.customWidth;
    customHeight = update.fields.main.customHeight;
    resolution = update.fields.resolution;
    exchange.write();
    if (update.repaint)
        repaintWithCurrentValues();
}

void CMainDlg::UpdateForTicketType(TicketType type)
{
    if (!pictures.picture())
        return;
    exchange.read();
    showPictureUpdate(fieldsForTicketType(pictureFields(), type, pictures.picture()->size()));
}

void CMainDlg::UpdateForCustomWidth()
{
    if (!pictures.picture())
        return;
    exchange.read();
    showPictureUpdate(fieldsForCustomWidth(pictureFields(), pictures.picture()->size()));
}

void CMainDlg::UpdateForCustomHeight()
{
    if (!pictures.picture())
        return;
    exchange.read();
    showPictureUpdate(fieldsForCustomHeight(pictureFields(), pictures.picture()->size()));
}

void CMainDlg::OnOK()
{
    // Enter in a field neither closes the window nor stores anything.
}

void CMainDlg::OnCancel()
{
    exchange.forgetRejection();
    exchange.read();
    MainValues values;
    values.customWidth = customWidth;
    values.customHeight = customHeight;
    values.countText = countText;
    saveMainValues(store, values, mainButtonStates(built));
    QDialog::reject();
}

void CMainDlg::reject()
{
    OnCancel();
}

void CMainDlg::accept()
{
    OnOK();
}

void CMainDlg::keyPressEvent(QKeyEvent* event)
{
    if (isEnterKey(event)) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        else
            OnOK();
        return;
    }
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        OnSysCommand(aboutCommandId);
        return;
    }
    QDialog::keyPressEvent(event);
}

void CMainDlg::contextMenuEvent(QContextMenuEvent* event)
{
    systemMenu->exec(event->globalPos());
}

void CMainDlg::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && firstLocalFile(event->mimeData()->urls()))
        event->acceptProposedAction();
}

void CMainDlg::dropEvent(QDropEvent* event)
{
    const std::optional<QString> path = firstLocalFile(event->mimeData()->urls());
    if (!path)
        return;
    event->acceptProposedAction();
    OnDropFiles(*path);
}

} // namespace zorvane
