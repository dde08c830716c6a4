#pragma once

#include <QFlags>

#include <span>
#include <string_view>

namespace zorvane {

// What a template row becomes.
enum class ControlKind
{
    PushButton,
    DefaultPushButton,
    Label,
    GroupBox,
    Edit,
    RadioButton,
    CheckBox,
    ComboBox,    // drop-down list with an edit field
    EtchedFrame, // an empty box with an etched border
    BlackFrame,  // an empty box with a one-pixel black border
    Icon,        // the application icon at its natural size
};

enum class ControlStyle
{
    GroupStart = 0x1, // begins a new group; radio buttons exclude each other within one
    TabStop = 0x2,    // reached with Tab
};
Q_DECLARE_FLAGS(ControlStyles, ControlStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(ControlStyles)

inline constexpr int noControlId = -1;

// One control of a dialog. Position and size are in dialog units: a quarter
// of the dialog font's average character width across, an eighth of its
// height down, from the top-left corner of the client area.
struct ControlTemplate
{
    int id = noControlId;
    ControlKind kind = ControlKind::Label;
    std::u16string_view text;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0; // for a combo box: the height with its list open
    ControlStyles styles;
};

// A combo box list filled before the dialog initialises itself: the decimal
// numbers first..last in ascending order.
struct ComboListInit
{
    int id = noControlId;
    int first = 1;
    int last = 1;
};

// The name a screen reader speaks for a field. A field's meaning often
// comes from several labels around it (a group's title, a letter, a unit),
// which no single buddy label gives.
struct ControlName
{
    int id = noControlId;
    std::u16string_view name;
};

struct DialogTemplate
{
    std::u16string_view caption;
    int width = 0; // dialog units
    int height = 0;
    // Template order is the tab order.
    std::span<const ControlTemplate> controls;
    std::span<const ComboListInit> comboLists;
};

} // namespace zorvane
