#pragma once

#include "DialogTemplate.h"
#include "DialogUnits.h"

#include <QString>

#include <functional>
#include <map>
#include <vector>

class QButtonGroup;
class QDialog;
class QWidget;

namespace zorvane {

// The object name the builder gives the control of a template id, so the
// control can be found by its id from outside the dialog.
QString controlName(int id);

// The widgets that one template became, found by template id.
class BuiltDialog
{
public:
    QWidget* control(int id) const;
    template<typename T> T* control(int id) const { return qobject_cast<T*>(control(id)); }

    // The exclusive group that a radio button belongs to, or null.
    QButtonGroup* radioGroupOf(int id) const;

    // The first control that Tab reaches; it gets the focus when the dialog opens.
    QWidget* firstTabStop() const { return tabStops_.empty() ? nullptr : tabStops_.front(); }
    const std::vector<QWidget*>& tabStops() const { return tabStops_; }

    // Every control, unnamed ones included, in template order.
    const std::vector<QWidget*>& controlsInOrder() const { return controlsInOrder_; }

    const DialogUnits& units() const { return units_; }

    // Gives the fields their accessible names.
    void nameControls(std::span<const ControlName> names) const;

private:
    friend class DialogBuilder;

    std::map<int, QWidget*> controls_;
    std::map<int, QButtonGroup*> radioGroups_;
    std::vector<QWidget*> tabStops_;
    std::vector<QWidget*> controlsInOrder_;
    DialogUnits units_;
};

// Turns a dialog template into widgets on a dialog: the dialog font, the
// caption, a fixed size, every control at its converted position, named by
// its id, the tab order of the template, radio groups as the template's
// group starts say and the combo lists' init data.
class DialogBuilder
{
public:
    // Builds a control of its own for a template row, or returns null to let
    // the builder make the standard one (a dialog's special boxes).
    using ControlFactory = std::function<QWidget*(const ControlTemplate&, QWidget* parent)>;

    static BuiltDialog build(QDialog& dialog, const DialogTemplate& dialogTemplate,
                             const ControlFactory& factory = {});

    // The height, in dialog units, of a combo box with its list closed: that
    // of an edit field, so its text lines up with the edits and labels.
    static constexpr int closedComboHeight = 14;

private:
    // The dialog's font and caption, and the dialog units they give.
    static void applyDialogFrame(QDialog& dialog, const DialogTemplate& dialogTemplate,
                                 BuiltDialog& built);
    // Makes one row's control, places it, names it by its id and records it.
    static QWidget* addControl(const ControlTemplate& row, QDialog& dialog,
                               const ControlFactory& factory, BuiltDialog& built);
    // Puts a radio button into the current exclusive group, starting one
    // when there is none; a group start in the template ends the current one.
    static void joinRadioGroup(const ControlTemplate& row, QWidget* widget, QDialog& dialog,
                               QButtonGroup*& radioGroup, BuiltDialog& built);
    static void sendGroupBoxesBack(const std::vector<QWidget*>& groupBoxes);
    static QWidget* createStandardControl(const ControlTemplate& row, QWidget* parent);
    static QRect pixelGeometry(const ControlTemplate& row, const QWidget* widget,
                               const DialogUnits& units);
    static void applyFocusPolicy(const ControlTemplate& row, QWidget* widget);
    static void fillComboLists(const DialogTemplate& dialogTemplate, const BuiltDialog& built);
    static void chainTabOrder(const std::vector<QWidget*>& tabStops);
};

} // namespace zorvane
