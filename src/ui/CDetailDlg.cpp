#include "CDetailDlg.h"

#include "AppIcon.h"
#include "ColorChooser.h"
#include "ColorSwatch.h"
#include "DialogTemplates.h"

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
    exchange_.bindCheck(built_.control<QCheckBox>(id::drawFrame), &values_.drawFrame);
    exchange_.bindCheck(built_.control<QCheckBox>(id::limitGrid), &values_.limitGrid);
    exchange_.bindInt(built_.control<QLineEdit>(id::offsetX), &values_.offsetX);
    exchange_.bindInt(built_.control<QLineEdit>(id::offsetY), &values_.offsetY);
    exchange_.bindInt(built_.control<QLineEdit>(id::gapV), &values_.gapV);
    exchange_.bindInt(built_.control<QLineEdit>(id::gapH), &values_.gapH);
    exchange_.bindInt(built_.control<QLineEdit>(id::frameRed), &values_.frameRed);
    exchange_.bindInt(built_.control<QLineEdit>(id::frameGreen), &values_.frameGreen);
    exchange_.bindInt(built_.control<QLineEdit>(id::frameBlue), &values_.frameBlue);
    exchange_.bindInt(built_.control<QLineEdit>(id::fontPercent), &values_.fontPercent);
    exchange_.bindComboNumber(built_.control<QComboBox>(id::maxRows), &values_.maxRows);
    exchange_.bindComboNumber(built_.control<QComboBox>(id::maxCols), &values_.maxCols);
}

void CDetailDlg::OnInitDialog()
{
    values_ = loadOptionValues(store_);
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
    saveOptionValues(store_, values_);
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
    values_.frameRed = chosen->red();
    values_.frameGreen = chosen->green();
    values_.frameBlue = chosen->blue();
    writeColorFields();
    update();
}

void CDetailDlg::writeColorFields()
{
    const std::pair<int, int> fields[] = {{id::frameRed, values_.frameRed},
                                          {id::frameGreen, values_.frameGreen},
                                          {id::frameBlue, values_.frameBlue}};
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
    return QColor(values_.frameRed & 0xFF, values_.frameGreen & 0xFF, values_.frameBlue & 0xFF);
}

} // namespace zorvane
