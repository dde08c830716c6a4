#include "CBleedDlg.h"

#include "AppIcon.h"
#include "DialogTemplates.h"
#include "settings/CutGuides.h"
#include "ui/framework/MessageBoxes.h"

#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace zorvane {
namespace {

constexpr ControlStyles bleedGroup{ControlStyle::GroupStart};
constexpr ControlStyles bleedTab{ControlStyle::TabStop};

constexpr std::array bleedControls{
    ControlTemplate{noControlId, ControlKind::Label, u"塗り足し ：", 7, 9, 36, 8, bleedGroup},
    ControlTemplate{ids::bleed::value, ControlKind::Edit, u"", 44, 7, 26, 14, bleedTab},
    ControlTemplate{noControlId, ControlKind::Label, u"X 0.1mm (0～300)", 74, 9, 62, 8, bleedGroup},
    ControlTemplate{ids::ok, ControlKind::DefaultPushButton, u"OK", 46, 32, 42, 14, bleedTab},
    ControlTemplate{ids::cancel, ControlKind::PushButton, u"ｷｬﾝｾﾙ", 94, 32, 42, 14, bleedTab},
};

constexpr DialogTemplate bleedTemplate{u"塗り足し", 143, 53, bleedControls, {}};

constexpr std::array bleedNames{
    ControlName{ids::bleed::value, u"塗り足し (X 0.1mm)"},
};

} // namespace

CBleedDlg::CBleedDlg(SettingsStore& store, QWidget* parent) : QDialog(parent), store_(store)
{
    built_ = DialogBuilder::build(*this, bleedTemplate);
    built_.nameControls(bleedNames);
    setWindowIcon(appIcon());
    exchange_.bindInt(built_.control<QLineEdit>(ids::bleed::value), &bleed_);
    connect(built_.control<QPushButton>(ids::ok), &QPushButton::clicked, this, &CBleedDlg::accept);
    connect(built_.control<QPushButton>(ids::cancel), &QPushButton::clicked, this,
            &QDialog::reject);
    bleed_ = loadCutGuides(store_).bleed;
    exchange_.write();
    if (QWidget* first = built_.firstTabStop())
        first->setFocus(Qt::OtherFocusReason);
}

void CBleedDlg::accept()
{
    exchange_.forgetRejection();
    if (!exchange_.read())
        return;
    if (bleed_ < 0 || bleed_ > maxBleed) {
        showMessage(this, QString::fromUtf16(outOfRangeMessage));
        auto* field = built_.control<QLineEdit>(ids::bleed::value);
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
        return;
    }
    saveBleed(store_, bleed_);
    QDialog::accept();
}

} // namespace zorvane
