#include "CDetailDlg.h"

#include "AppIcon.h"
#include "ColorChooser.h"
#include "ColorSwatch.h"
#include "DialogTemplates.h"
#include "settings/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace zorvane {

namespace id = ids::detail;

CDetailDlg::CDetailDlg(SettingsStore& store, ColorChooser& colorChooser, QWidget* parent)
    : QDialog(parent), store_(store), colorChooser_(colorChooser)
{
    built_ = DialogBuilder::build(
        *this, detailDialogTemplate(), [this](const ControlTemplate& row, QWidget* owner) {
            return row.id == id::swatch ? new ColorSwatch([this] { return swatchColor(); }, owner)
                                        : nullptr;
        });
    built_.nameControls(detailDialogNames());
    setWindowIcon(appIcon());
    DoDataExchange();

    connect(built_.control<QPushButton>(ids::ok), &QPushButton::clicked, this, &CDetailDlg::accept);
    connect(built_.control<QPushButton>(ids::cancel), &QPushButton::clicked, this,
            &QDialog::reject);
    connect(built_.control<QPushButton>(id::chooseColor), &QPushButton::clicked, this,
            &CDetailDlg::OnChooseColor);

    OnInitDialog();
}

void CDetailDlg::DoDataExchange()
{
    drawFrame = built_.control<QCheckBox>(id::drawFrame);
    limitGrid = built_.control<QCheckBox>(id::limitGrid);
    exchange_.bindInt(built_.control<QLineEdit>(id::offsetX), &offsetX);
    exchange_.bindInt(built_.control<QLineEdit>(id::offsetY), &offsetY);
    exchange_.bindInt(built_.control<QLineEdit>(id::gapV), &gapV);
    exchange_.bindInt(built_.control<QLineEdit>(id::gapH), &gapH);
    exchange_.bindInt(built_.control<QLineEdit>(id::frameRed), &frameRed);
    exchange_.bindInt(built_.control<QLineEdit>(id::frameGreen), &frameGreen);
    exchange_.bindInt(built_.control<QLineEdit>(id::frameBlue), &frameBlue);
    exchange_.bindInt(built_.control<QLineEdit>(id::fontPercent), &fontPercent);
    exchange_.bindComboText(built_.control<QComboBox>(id::maxRows), &maxRowsText);
    exchange_.bindComboText(built_.control<QComboBox>(id::maxCols), &maxColsText);
}

void CDetailDlg::OnInitDialog()
{
    const OptionValues stored = loadOptionValues(store_);
    offsetX = stored.offsetX;
    offsetY = stored.offsetY;
    gapV = stored.gapV;
    gapH = stored.gapH;
    frameRed = stored.frameRed;
    frameGreen = stored.frameGreen;
    frameBlue = stored.frameBlue;
    fontPercent = stored.fontPercent;
    drawFrame->setChecked(stored.drawFrame != 0);
    limitGrid->setChecked(stored.limitGrid != 0);
    maxRowsText = QString::number(stored.maxRows);
    maxColsText = QString::number(stored.maxCols);
    exchange_.write();
    if (QWidget* first = built_.firstTabStop())
        first->setFocus(Qt::OtherFocusReason);
}

void CDetailDlg::accept()
{
    OnOK();
}

// Every field is read before anything is stored: a field that is not a whole
// number gets its message and the focus, the store keeps what it had and the
// dialog stays open for the correction.
void CDetailDlg::OnOK()
{
    exchange_.forgetRejection();
    if (!exchange_.read())
        return;
    saveOptionValues(store_, valuesFromMembers());
    if (QWidget* owner = parentWidget())
        owner->update();
    QDialog::accept();
}

// The chooser starts from black rather than the current colour. Only the
// three colour fields change; whatever else was typed stays as typed.
void CDetailDlg::OnChooseColor()
{
    const std::optional<QColor> chosen = colorChooser_.chooseColor(this, QColor(Qt::black));
    if (!chosen)
        return;
    frameRed = chosen->red();
    frameGreen = chosen->green();
    frameBlue = chosen->blue();
    writeColorFields();
    update();
}

void CDetailDlg::writeColorFields()
{
    const std::pair<int, int> fields[] = {
        {id::frameRed, frameRed}, {id::frameGreen, frameGreen}, {id::frameBlue, frameBlue}};
    for (const auto& [fieldId, value] : fields) {
        auto* edit = built_.control<QLineEdit>(fieldId);
        const QSignalBlocker blocker(edit);
        edit->setText(QString::number(value));
    }
}

// Painting never shows a message: the fields are read silently, and a field
// that is not a whole number leaves the colour as last accepted.
QColor CDetailDlg::swatchColor()
{
    exchange_.read(DataExchange::Report::Silent);
    return QColor(frameRed & 0xFF, frameGreen & 0xFF, frameBlue & 0xFF);
}

OptionValues CDetailDlg::valuesFromMembers() const
{
    OptionValues values;
    values.offsetX = offsetX;
    values.offsetY = offsetY;
    values.gapV = gapV;
    values.gapH = gapH;
    values.frameRed = frameRed;
    values.frameGreen = frameGreen;
    values.frameBlue = frameBlue;
    values.fontPercent = fontPercent;
    values.drawFrame = drawFrame->isChecked() ? 1 : 0;
    values.limitGrid = limitGrid->isChecked() ? 1 : 0;
    values.maxRows = leadingNumber(maxRowsText);
    values.maxCols = leadingNumber(maxColsText);
    return values;
}

} // namespace zorvane
