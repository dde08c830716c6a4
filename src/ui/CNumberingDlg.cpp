#include "CNumberingDlg.h"

#include "AppIcon.h"
#include "ColorChooser.h"
#include "ColorSwatch.h"
#include "DialogTemplates.h"
#include "NumberingDialogTemplate.h"
#include "layout/TicketNumbers.h"
#include "ui/framework/MessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace zorvane {

namespace nid = ids::numbering;

CNumberingDlg::CNumberingDlg(SettingsStore& store, ColorChooser& colorChooser, SheetJob job,
                             QWidget* parent)
    : QDialog(parent), store_(store), colorChooser_(colorChooser), job_(std::move(job))
{
    built_ = DialogBuilder::build(
        *this, numberingDialogTemplate(), [this](const ControlTemplate& row, QWidget* owner) {
            return row.id == nid::swatch
                       ? new ColorSwatch(
                             [this] {
                                 const int rgb = values_.colour;
                                 return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
                             },
                             owner)
                       : nullptr;
        });
    built_.nameControls(numberingDialogNames());
    setWindowIcon(appIcon());
    DoDataExchange();

    connect(built_.control<QPushButton>(ids::ok), &QPushButton::clicked, this,
            &CNumberingDlg::accept);
    connect(built_.control<QPushButton>(ids::cancel), &QPushButton::clicked, this,
            &QDialog::reject);
    connect(built_.control<QPushButton>(nid::chooseColor), &QPushButton::clicked, this,
            &CNumberingDlg::OnChooseColor);
    connect(built_.control<QCheckBox>(nid::enabled), &QCheckBox::toggled, this,
            &CNumberingDlg::showRange);
    for (const int edit : {nid::start, nid::sheets})
        connect(built_.control<QLineEdit>(edit), &QLineEdit::textEdited, this,
                &CNumberingDlg::showRange);

    OnInitDialog();
}

void CNumberingDlg::DoDataExchange()
{
    exchange_.bindCheck(built_.control<QCheckBox>(nid::enabled), &fields_.enabled);
    exchange_.bindInt(built_.control<QLineEdit>(nid::start), &fields_.start);
    exchange_.bindInt(built_.control<QLineEdit>(nid::digits), &fields_.digits);
    exchange_.bindComboText(built_.control<QComboBox>(nid::prefix), &fields_.prefix);
    exchange_.bindComboText(built_.control<QComboBox>(nid::suffix), &fields_.suffix);
    exchange_.bindInt(built_.control<QLineEdit>(nid::height), &fields_.height);
    exchange_.bindInt(built_.control<QLineEdit>(nid::inset), &fields_.inset);
    exchange_.bindCheck(built_.control<QCheckBox>(nid::backing), &fields_.backing);
    exchange_.bindInt(built_.control<QLineEdit>(nid::sheets), &fields_.sheets);
}

void CNumberingDlg::OnInitDialog()
{
    values_ = loadNumberingValues(store_);
    fields_ = {values_.enabled ? 1 : 0, values_.start,           values_.digits,
               values_.prefix,          values_.suffix,          values_.height,
               values_.inset,           values_.backing ? 1 : 0, values_.sheets};
    // The usual texts to start from; any other can be typed.
    built_.control<QComboBox>(nid::prefix)->addItems({QString(), u"No."_s, u"#"_s});
    built_.control<QComboBox>(nid::suffix)->addItems({QString(), u"番"_s});
    exchange_.write();
    built_.control<QRadioButton>(nid::positions[size_t(values_.position)])->setChecked(true);
    const int stub =
        values_.stubPosition ? nid::stubPositions[size_t(*values_.stubPosition)] : nid::noStub;
    built_.control<QRadioButton>(stub)->setChecked(true);
    showRange();
    if (QWidget* first = built_.firstTabStop())
        first->setFocus(Qt::OtherFocusReason);
}

NumberingValues CNumberingDlg::valuesOfFields() const
{
    NumberingValues v = values_;
    v.enabled = fields_.enabled != 0;
    v.start = fields_.start;
    v.digits = fields_.digits;
    v.prefix = fields_.prefix;
    v.suffix = fields_.suffix;
    v.height = fields_.height;
    v.inset = fields_.inset;
    v.backing = fields_.backing != 0;
    v.sheets = fields_.sheets;
    for (size_t i = 0; i < nid::positions.size(); ++i) {
        if (built_.control<QRadioButton>(nid::positions[i])->isChecked())
            v.position = NumberPosition(i);
    }
    v.stubPosition.reset();
    for (size_t i = 0; i < nid::stubPositions.size(); ++i) {
        if (built_.control<QRadioButton>(nid::stubPositions[i])->isChecked())
            v.stubPosition = NumberPosition(i);
    }
    return v;
}

QString CNumberingDlg::rangeText() const
{
    return built_.control<QLabel>(nid::range)->text();
}

// Follows the fields as they are typed, silently; a field that is not a
// number leaves the range as last shown.
void CNumberingDlg::showRange()
{
    if (!exchange_.read(DataExchange::Report::Silent))
        return;
    built_.control<QLabel>(nid::range)
        ->setText(u"次の印刷 ： "_s + numberRangeText(valuesOfFields(), job_.count));
}

void CNumberingDlg::accept()
{
    OnOK();
}

bool CNumberingDlg::checkRanges()
{
    struct Range
    {
        const char16_t* name;
        int value;
        int lowest;
        int highest;
    };
    const Range ranges[] = {
        {u"開始番号", fields_.start, 0, numberingLimits::maxStart},
        {u"桁数", fields_.digits, 0, numberingLimits::maxDigits},
        {u"文字の高さ", fields_.height, numberingLimits::minHeight, numberingLimits::maxHeight},
        {u"券の端から", fields_.inset, 0, numberingLimits::maxInset},
        {u"シート数", fields_.sheets, 1, numberingLimits::maxSheets},
    };
    for (const Range& range : ranges) {
        if (range.value >= range.lowest && range.value <= range.highest)
            continue;
        showMessage(this, QString::fromUtf16(numberingDialogMessages::outOfRange)
                              .arg(QString::fromUtf16(range.name))
                              .arg(range.lowest)
                              .arg(range.highest));
        return false;
    }
    for (const auto& [name, text] : {std::pair{u"前に付ける文字", fields_.prefix},
                                     std::pair{u"後に付ける文字", fields_.suffix}}) {
        if (text.size() <= numberingLimits::maxAffixLength)
            continue;
        showMessage(this, QString::fromUtf16(numberingDialogMessages::tooLong)
                              .arg(QString::fromUtf16(name))
                              .arg(numberingLimits::maxAffixLength));
        return false;
    }
    return true;
}

// Every field is read and checked, and the number tried in the window's
// ticket, before anything is stored.
void CNumberingDlg::OnOK()
{
    exchange_.forgetRejection();
    if (!exchange_.read() || !checkRanges())
        return;
    SheetJob trial = job_;
    trial.numbering = valuesOfFields();
    trial.firstNumber = trial.numbering.start;
    if (!runNumbersFit(trial)) {
        showMessage(this, QString::fromUtf16(numberingMessages::doesNotFit));
        return;
    }
    saveNumberingValues(store_, trial.numbering);
    QDialog::accept();
}

// The chooser starts from black, as the frame's does.
void CNumberingDlg::OnChooseColor()
{
    const std::optional<QColor> chosen = colorChooser_.chooseColor(this, QColor(Qt::black));
    if (!chosen)
        return;
    values_.colour = (chosen->red() << 16) | (chosen->green() << 8) | chosen->blue();
    update();
}

} // namespace zorvane
