#include "DialogBuilder.h"

#include "AppIcon.h"
#include "DialogFont.h"
#include "TextFit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace zorvane {

QString controlName(int id)
{
    return QString::number(id);
}
namespace {

QString textOf(const ControlTemplate& row)
{
    return QStringView(row.text.data(), qsizetype(row.text.size())).toString();
}

// A dialog item's text is drawn as written: no rich text, no link detection.
QLabel* createLabel(const ControlTemplate& row, QWidget* parent)
{
    auto* label = new QLabel(textOf(row), parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QFrame* createFrame(QFrame::Shadow shadow, QWidget* parent)
{
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Box | shadow);
    frame->setLineWidth(1);
    return frame;
}

QFrame* createBlackFrame(QWidget* parent)
{
    QFrame* frame = createFrame(QFrame::Plain, parent);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    frame->setPalette(palette);
    return frame;
}

QComboBox* createCombo(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    // The typed text stays as typed: no completion, nothing added to the list.
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QLabel* createIcon(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setPixmap(appIcon().pixmap(appIconSize));
    return label;
}

// The template gives a combo box's height with its list open; the list
// shows as many one-line entries as fit below the closed box.
void setOpenListHeight(const ControlTemplate& row, QComboBox* combo)
{
    constexpr int lineHeight = 8; // dialog units: one line of the dialog font
    combo->setMaxVisibleItems(
        std::max(1, (row.height - DialogBuilder::closedComboHeight) / lineHeight));
}

bool isRadio(const ControlTemplate& row)
{
    return row.kind == ControlKind::RadioButton;
}

} // namespace

QWidget* BuiltDialog::control(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void BuiltDialog::nameControls(std::span<const ControlName> names) const
{
    for (const ControlName& entry : names) {
        if (QWidget* widget = control(entry.id))
            widget->setAccessibleName(
                QStringView(entry.name.data(), qsizetype(entry.name.size())).toString());
    }
}

QButtonGroup* BuiltDialog::radioGroupOf(int id) const
{
    const auto it = radioGroups_.find(id);
    return it == radioGroups_.end() ? nullptr : it->second;
}

BuiltDialog DialogBuilder::build(QDialog& dialog, const DialogTemplate& dialogTemplate,
                                 const ControlFactory& factory)
{
    BuiltDialog built;
    applyDialogFrame(dialog, dialogTemplate, built);

    QButtonGroup* radioGroup = nullptr;
    std::vector<QWidget*> groupBoxes;
    std::vector<PlacedControl> placed;
    for (const ControlTemplate& row : dialogTemplate.controls) {
        QWidget* widget = addControl(row, dialog, factory, built);
        placed.push_back({&row, widget});
        joinRadioGroup(row, widget, dialog, radioGroup, built);
        if (row.kind == ControlKind::GroupBox)
            groupBoxes.push_back(widget);
    }
    sendGroupBoxesBack(groupBoxes);

    chainTabOrder(built.tabStops_);
    fillComboLists(dialogTemplate, built);
    const QSize size = built.units_.toPixels(QSize(dialogTemplate.width, dialogTemplate.height));
    TextFit(std::move(placed), size, built.units_).fitAll();
    dialog.setFixedSize(size);
    return built;
}

void DialogBuilder::applyDialogFrame(QDialog& dialog, const DialogTemplate& dialogTemplate,
                                     BuiltDialog& built)
{
    dialog.setFont(dialogFont());
    dialog.setWindowTitle(
        QStringView(dialogTemplate.caption.data(), qsizetype(dialogTemplate.caption.size()))
            .toString());
    built.units_ = DialogUnits::of(dialog.font(), &dialog);
}

QWidget* DialogBuilder::addControl(const ControlTemplate& row, QDialog& dialog,
                                   const ControlFactory& factory, BuiltDialog& built)
{
    QWidget* widget = factory ? factory(row, &dialog) : nullptr;
    if (!widget)
        widget = createStandardControl(row, &dialog);
    widget->setGeometry(pixelGeometry(row, widget, built.units_));
    // A label as high as two lines or more wraps its text, as the
    // templates expect; a one-line label never breaks at its blanks.
    if (auto* label = qobject_cast<QLabel*>(widget);
        label && row.kind == ControlKind::Label &&
        widget->height() >= 2 * widget->fontMetrics().height())
        label->setWordWrap(true);
    built.controlsInOrder_.push_back(widget);
    applyFocusPolicy(row, widget);
    if (row.id != noControlId) {
        widget->setObjectName(controlName(row.id));
        built.controls_[row.id] = widget;
    }
    if (row.styles.testFlag(ControlStyle::TabStop))
        built.tabStops_.push_back(widget);
    if (row.kind == ControlKind::ComboBox)
        setOpenListHeight(row, static_cast<QComboBox*>(widget));
    return widget;
}

void DialogBuilder::joinRadioGroup(const ControlTemplate& row, QWidget* widget, QDialog& dialog,
                                   QButtonGroup*& radioGroup, BuiltDialog& built)
{
    if (row.styles.testFlag(ControlStyle::GroupStart))
        radioGroup = nullptr;
    if (!isRadio(row))
        return;
    auto* button = static_cast<QAbstractButton*>(widget);
    if (!radioGroup) {
        radioGroup = new QButtonGroup(&dialog);
        radioGroup->setExclusive(true);
    }
    button->setAutoExclusive(false);
    radioGroup->addButton(button, row.id);
    built.radioGroups_[row.id] = radioGroup;
}

// Group boxes only frame their neighbours; drawn below them and deaf to the
// mouse, they never cover a control that lies inside their frame.
void DialogBuilder::sendGroupBoxesBack(const std::vector<QWidget*>& groupBoxes)
{
    for (QWidget* box : groupBoxes) {
        box->lower();
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

QWidget* DialogBuilder::createStandardControl(const ControlTemplate& row, QWidget* parent)
{
    switch (row.kind) {
    case ControlKind::PushButton:
        return new QPushButton(textOf(row), parent);
    case ControlKind::DefaultPushButton: {
        auto* button = new QPushButton(textOf(row), parent);
        button->setDefault(true);
        return button;
    }
    case ControlKind::Label:
        return createLabel(row, parent);
    case ControlKind::GroupBox:
        return new QGroupBox(textOf(row), parent);
    case ControlKind::Edit:
        return new QLineEdit(parent);
    case ControlKind::RadioButton:
        return new QRadioButton(textOf(row), parent);
    case ControlKind::CheckBox:
        return new QCheckBox(textOf(row), parent);
    case ControlKind::ComboBox:
        return createCombo(parent);
    case ControlKind::EtchedFrame:
        return createFrame(QFrame::Sunken, parent);
    case ControlKind::BlackFrame:
        return createBlackFrame(parent);
    case ControlKind::Icon:
        return createIcon(parent);
    }
    Q_UNREACHABLE();
    return nullptr;
}

QRect DialogBuilder::pixelGeometry(const ControlTemplate& row, const QWidget* widget,
                                   const DialogUnits& units)
{
    QRect rect = units.toPixels(QRect(row.x, row.y, row.width, row.height));
    if (row.kind == ControlKind::ComboBox)
        rect.setHeight(units.toPixelsY(std::min(row.height, closedComboHeight)));
    // An icon shows at its own size, whatever the template's box.
    if (row.kind == ControlKind::Icon && widget->sizeHint().isValid())
        rect.setSize(widget->sizeHint());
    return rect;
}

void DialogBuilder::applyFocusPolicy(const ControlTemplate& row, QWidget* widget)
{
    if (row.styles.testFlag(ControlStyle::TabStop)) {
        widget->setFocusPolicy(Qt::StrongFocus);
        return;
    }
    switch (row.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton:
    case ControlKind::Edit:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox:
    case ControlKind::ComboBox:
        // Reached by the mouse (and, for radio buttons, by the arrow keys
        // inside their group), never by Tab.
        widget->setFocusPolicy(Qt::ClickFocus);
        break;
    default:
        widget->setFocusPolicy(Qt::NoFocus);
        break;
    }
}

void DialogBuilder::fillComboLists(const DialogTemplate& dialogTemplate, const BuiltDialog& built)
{
    for (const ComboListInit& list : dialogTemplate.comboLists) {
        auto* combo = built.control<QComboBox>(list.id);
        if (!combo)
            continue;
        for (int n = list.first; n <= list.last; ++n)
            combo->addItem(QString::number(n));
        combo->setCurrentIndex(-1);
    }
}

void DialogBuilder::chainTabOrder(const std::vector<QWidget*>& tabStops)
{
    for (std::size_t i = 1; i < tabStops.size(); ++i)
        QWidget::setTabOrder(tabStops[i - 1], tabStops[i]);
}

} // namespace zorvane
