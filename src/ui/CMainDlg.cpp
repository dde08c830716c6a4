#include "CMainDlg.h"

#include "AppIcon.h"
#include "CAboutDlg.h"
#include "CDetailDlg.h"
#include "ColorChooser.h"
#include "DialogTemplates.h"
#include "DroppedFiles.h"
#include "MainWindowMenu.h"
#include "PictureFileDialog.h"
#include "PreviewWidget.h"
#include "SystemPrintDialog.h"
#include "ui/framework/MessageBoxes.h"
#include "picture/PictureHolder.h"
#include "picture/PictureUpdates.h"
#include "print/PrintJob.h"
#include "print/PrinterSettingsFile.h"
#include "settings/SettingsStore.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <array>

namespace zorvane {

using namespace Qt::StringLiterals;

namespace {

namespace id = ids::main;

// The radio buttons of each group in the order of their store keys.
constexpr std::array ticketIds{id::typeA, id::typeB, id::typeD, id::typeOther};
constexpr std::array paperIds{id::paperA4, id::paperB5, id::paperA4Quarter};
constexpr std::array orderIds{id::rowsFirst, id::columnsFirst};

// Shows a group's stored states. The buttons of a group exclude each other,
// so when a hand-edited store turns several on, the first of them wins;
// when it turns none on, none is selected.
template<std::size_t N>
void showGroupStates(const BuiltDialog& built, const std::array<int, N>& buttonIds,
                     const std::array<int, N>& states)
{
    const auto firstOn = std::ranges::find_if(states, [](int state) { return state != 0; });
    const auto selected = std::size_t(firstOn - states.begin());
    QButtonGroup* group = built.radioGroupOf(buttonIds.front());
    group->setExclusive(false);
    for (std::size_t i = 0; i < N; ++i)
        built.control<QRadioButton>(buttonIds[i])->setChecked(i == selected);
    group->setExclusive(true);
}

template<std::size_t N>
std::array<int, N> groupStates(const BuiltDialog& built, const std::array<int, N>& buttonIds)
{
    std::array<int, N> states{};
    for (std::size_t i = 0; i < N; ++i)
        states[i] = built.control<QRadioButton>(buttonIds[i])->isChecked() ? 1 : 0;
    return states;
}

// Decoding a large photo takes a moment; say so with the cursor.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

bool isEnterKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

CMainDlg::CMainDlg(SettingsStore& store, QWidget* parent, const QString& printerSettingsFile)
    : QDialog(parent), store_(store),
      printerSettingsFile_(printerSettingsFile.isEmpty() ? printerSettingsFilePath(store.fileName())
                                                         : printerSettingsFile),
      colorChooser_(std::make_unique<ColorDialogChooser>()),
      printDialog_(std::make_unique<SystemPrintDialog>(this)),
      choosePictureFile_(askForPictureFile), appIcon(zorvane::appIcon())
{
    built_ = DialogBuilder::build(*this, mainDialogTemplate(),
                                  [this](const ControlTemplate& row, QWidget* parent) -> QWidget* {
                                      if (row.id != id::previewBox)
                                          return nullptr;
                                      return new PreviewWidget(store_, parent);
                                  });
    built_.nameControls(mainDialogNames());
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
    colorChooser_ = std::move(chooser);
}

void CMainDlg::setPrintDialog(std::unique_ptr<PrintDialogPort> dialog)
{
    printDialog_ = std::move(dialog);
}

void CMainDlg::setPictureFileChooser(PictureFileChooser chooser)
{
    choosePictureFile_ = std::move(chooser);
}

void CMainDlg::DoDataExchange()
{
    keepAspect = built_.control<QCheckBox>(id::keepAspect);
    previewBox = built_.control<PreviewWidget>(id::previewBox);
    imagePath = built_.control<QLineEdit>(id::imagePath);
    exchange_.bindInt(built_.control<QLineEdit>(id::customWidth), &customWidth);
    exchange_.bindInt(built_.control<QLineEdit>(id::customHeight), &customHeight);
    exchange_.bindInt(built_.control<QLineEdit>(id::resolution), &resolution);
    exchange_.bindComboText(built_.control<QComboBox>(id::count), &countText);
}

void CMainDlg::connectHandlers()
{
    auto clicked = [this](int controlId, auto handler) {
        connect(built_.control<QAbstractButton>(controlId), &QAbstractButton::clicked, this,
                handler);
    };
    clicked(id::close, &CMainDlg::reject);
    clicked(id::printStart, &CMainDlg::OnPrintStart);
    clicked(id::detailSettings, &CMainDlg::OnDetailSettings);
    clicked(id::browsePicture, &CMainDlg::OnBrowsePicture);
    for (std::size_t i = 0; i < ticketIds.size(); ++i) {
        const TicketType type = allTicketTypes[i];
        clicked(ticketIds[i], [this, type] { UpdateForTicketType(type); });
    }
    for (int layoutId :
         {id::paperA4, id::paperB5, id::paperA4Quarter, id::rowsFirst, id::columnsFirst})
        clicked(layoutId, &CMainDlg::OnLayoutChange);
    clicked(id::keepAspect, &CMainDlg::UpdateForCustomWidth);

    connect(built_.control<QLineEdit>(id::customWidth), &QLineEdit::textChanged, this,
            &CMainDlg::UpdateForCustomWidth);
    connect(built_.control<QLineEdit>(id::customHeight), &QLineEdit::textChanged, this,
            &CMainDlg::UpdateForCustomHeight);

    auto* count = built_.control<QComboBox>(id::count);
    connect(count, &QComboBox::currentIndexChanged, this, &CMainDlg::OnLayoutChange);
    connect(count->lineEdit(), &QLineEdit::textEdited, this, &CMainDlg::OnLayoutChange);
}

void CMainDlg::OnInitDialog()
{
    exchange_.write();
    createSystemMenu();
    setWindowIcon(appIcon);
    loadMainValues();
    obtainPrinterSettings();
    exchange_.write();
    if (QWidget* first = built_.firstTabStop())
        first->setFocus(Qt::OtherFocusReason);
}

// The window manager keeps the window menu to itself, so the About entry
// lives in a context menu of the window's background that stands in for it.
void CMainDlg::createSystemMenu()
{
    systemMenu_ =
        new MainWindowMenu(closeCommandId, aboutCommandId, QString::fromUtf16(aboutMenuText), this);
    connect(systemMenu_, &MainWindowMenu::systemCommand, this, &CMainDlg::OnSysCommand);
}

void CMainDlg::loadMainValues()
{
    const MainValues stored = zorvane::loadMainValues(store_);
    customWidth = stored.customWidth;
    customHeight = stored.customHeight;
    countText = stored.countText;
    setButtonStates(loadMainButtonStates(store_));
}

void CMainDlg::setButtonStates(const MainButtonStates& states)
{
    showGroupStates(built_, ticketIds, states.ticket);
    showGroupStates(built_, paperIds, states.paper);
    showGroupStates(built_, orderIds, states.order);
    keepAspect->setChecked(states.keepAspect != 0);
}

MainButtonStates CMainDlg::buttonStates() const
{
    MainButtonStates states;
    states.ticket = groupStates(built_, ticketIds);
    states.paper = groupStates(built_, paperIds);
    states.order = groupStates(built_, orderIds);
    states.keepAspect = keepAspect->isChecked() ? 1 : 0;
    return states;
}

MainValues CMainDlg::currentValues() const
{
    MainValues values;
    values.customWidth = customWidth;
    values.customHeight = customHeight;
    values.countText = countText;
    applyButtonStates(buttonStates(), values);
    return values;
}

MainValues CMainDlg::valuesForPreview()
{
    exchange_.read(DataExchange::Report::Silent);
    return currentValues();
}

void CMainDlg::obtainPrinterSettings()
{
    if (!GetPrinterDefaults(printerSettings)) {
        showMessage(this, QString::fromUtf16(printMessages::noPrinter));
        return;
    }
    LoadPrinterSettingsFile(*printerSettings, printerSettingsFile_);
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
    CDetailDlg dialog(store_, *colorChooser_, this);
    dialog.exec();
}

void CMainDlg::OnLayoutChange()
{
    repaintWithCurrentValues();
}

// The preview paints the values as last accepted from the fields; a paint
// itself never reads them, so it can never show a message.
void CMainDlg::repaintWithCurrentValues()
{
    previewBox->setMainValues(valuesForPreview());
    update();
}

void CMainDlg::OnPrintStart()
{
    // A command reports a rejected field again, even one reported before.
    exchange_.forgetRejection();
    exchange_.read();
    PrintJob job(
        *printDialog_, [this](const QString& text) { showMessage(this, text); },
        printerSettingsFile_);
    job.run(currentValues(), store_, picture.get(), printerSettings);
}

void CMainDlg::OnBrowsePicture()
{
    const QString path = choosePictureFile_(this);
    if (!path.isEmpty())
        LoadPicture(path);
}

void CMainDlg::OnDropFiles(const QString& path)
{
    LoadPicture(path);
}

void CMainDlg::LoadPicture(const QString& path)
{
    std::unique_ptr<PictureHolder> loaded;
    {
        const WaitCursor busy;
        loaded = PictureHolder::load(path);
    }
    if (!loaded)
        return;
    picture = std::move(loaded);
    previewBox->setPicture(picture.get());
    imagePath->setText(path);
    exchange_.read();
    showPictureUpdate(zorvane::UpdateForLoadedPicture(pictureFields(), picture->size()));
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
    exchange_.write();
    if (update.repaint)
        repaintWithCurrentValues();
}

void CMainDlg::UpdateForTicketType(TicketType type)
{
    if (!picture)
        return;
    exchange_.read();
    showPictureUpdate(zorvane::UpdateForTicketType(pictureFields(), type, picture->size()));
}

void CMainDlg::UpdateForCustomWidth()
{
    if (!picture)
        return;
    exchange_.read();
    showPictureUpdate(zorvane::UpdateForCustomWidth(pictureFields(), picture->size()));
}

void CMainDlg::UpdateForCustomHeight()
{
    if (!picture)
        return;
    exchange_.read();
    showPictureUpdate(zorvane::UpdateForCustomHeight(pictureFields(), picture->size()));
}

void CMainDlg::OnOK()
{
    // Enter in a field neither closes the window nor stores anything.
}

void CMainDlg::OnCancel()
{
    exchange_.forgetRejection();
    exchange_.read();
    MainValues values;
    values.customWidth = customWidth;
    values.customHeight = customHeight;
    values.countText = countText;
    saveMainValues(store_, values, buttonStates());
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
    systemMenu_->exec(event->globalPos());
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
