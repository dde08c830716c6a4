#include "NumberingDialogTemplate.h"

#include "DialogTemplates.h"

namespace zorvane {
namespace {

namespace nid = ids::numbering;
using enum ControlKind;
constexpr ControlStyles numGroup{ControlStyle::GroupStart};
constexpr ControlStyles numTab{ControlStyle::TabStop};
constexpr ControlStyles numGroupTab = ControlStyle::GroupStart | ControlStyle::TabStop;
constexpr ControlStyles numPlain{};

// Every label starts a group, so the two rows of places are two radio groups.
constexpr std::array numberingControls{
    ControlTemplate{nid::enabled, CheckBox, u"番号を付ける", 7, 7, 80, 10, numGroupTab},
    ControlTemplate{noControlId, Label, u"開始番号 ：", 7, 24, 50, 8, numGroup},
    ControlTemplate{nid::start, Edit, u"", 60, 22, 50, 14, numTab},
    ControlTemplate{noControlId, Label, u"桁数 ：", 120, 24, 25, 8, numGroup},
    ControlTemplate{nid::digits, Edit, u"", 147, 22, 16, 14, numTab},
    ControlTemplate{noControlId, Label, u"(0 = そのまま)", 166, 24, 50, 8, numGroup},
    ControlTemplate{noControlId, Label, u"前に付ける文字 ：", 7, 42, 56, 8, numGroup},
    ControlTemplate{nid::prefix, ComboBox, u"", 64, 40, 46, 60, numTab},
    ControlTemplate{noControlId, Label, u"後に付ける文字 ：", 116, 42, 56, 8, numGroup},
    ControlTemplate{nid::suffix, ComboBox, u"", 173, 40, 46, 60, numTab},
    ControlTemplate{noControlId, Label, u"文字の高さ ：", 7, 60, 50, 8, numGroup},
    ControlTemplate{nid::height, Edit, u"", 60, 58, 24, 14, numTab},
    ControlTemplate{noControlId, Label, u"X 0.1mm", 87, 60, 26, 8, numGroup},
    ControlTemplate{noControlId, GroupBox, u"位置", 7, 76, 212, 44, numPlain},
    ControlTemplate{nid::positions[0], RadioButton, u"左上", 13, 88, 34, 10, numGroupTab},
    ControlTemplate{nid::positions[1], RadioButton, u"右上", 49, 88, 34, 10, numPlain},
    ControlTemplate{nid::positions[2], RadioButton, u"左下", 85, 88, 34, 10, numPlain},
    ControlTemplate{nid::positions[3], RadioButton, u"右下", 121, 88, 34, 10, numPlain},
    ControlTemplate{nid::positions[4], RadioButton, u"中央", 157, 88, 34, 10, numPlain},
    ControlTemplate{noControlId, Label, u"券の端から ：", 13, 104, 46, 8, numGroup},
    ControlTemplate{nid::inset, Edit, u"", 60, 102, 24, 14, numTab},
    ControlTemplate{noControlId, Label, u"X 0.1mm", 87, 104, 26, 8, numGroup},
    ControlTemplate{noControlId, GroupBox, u"控えの位置 (同じ番号をもう一つ)", 7, 124, 212, 26,
                    numPlain},
    ControlTemplate{nid::noStub, RadioButton, u"なし", 13, 136, 28, 10, numGroupTab},
    ControlTemplate{nid::stubPositions[0], RadioButton, u"左上", 43, 136, 34, 10, numPlain},
    ControlTemplate{nid::stubPositions[1], RadioButton, u"右上", 77, 136, 34, 10, numPlain},
    ControlTemplate{nid::stubPositions[2], RadioButton, u"左下", 111, 136, 34, 10, numPlain},
    ControlTemplate{nid::stubPositions[3], RadioButton, u"右下", 145, 136, 34, 10, numPlain},
    ControlTemplate{nid::stubPositions[4], RadioButton, u"中央", 179, 136, 34, 10, numPlain},
    ControlTemplate{noControlId, Label, u"色 ：", 7, 158, 16, 8, numGroup},
    ControlTemplate{nid::swatch, BlackFrame, u"", 26, 155, 20, 14, numPlain},
    ControlTemplate{nid::chooseColor, PushButton, u"色の選択...", 50, 155, 46, 14, numTab},
    ControlTemplate{nid::backing, CheckBox, u"白い下地", 110, 157, 60, 10, numTab},
    ControlTemplate{noControlId, Label, u"シート数 ：", 7, 178, 50, 8, numGroup},
    ControlTemplate{nid::sheets, Edit, u"", 60, 176, 24, 14, numTab},
    ControlTemplate{noControlId, Label, u"枚 (1〜999)", 87, 178, 50, 8, numGroup},
    ControlTemplate{nid::range, Label, u"", 7, 196, 212, 8, numGroup},
    ControlTemplate{ids::ok, DefaultPushButton, u"OK", 129, 212, 42, 14, numGroupTab},
    ControlTemplate{ids::cancel, PushButton, u"ｷｬﾝｾﾙ", 177, 212, 42, 14, numTab},
};

constexpr DialogTemplate numberingTemplate{u"番号を付ける", 226, 233, numberingControls, {}};

constexpr std::array numberingNames{
    ControlName{nid::start, u"開始番号"},
    ControlName{nid::digits, u"桁数 (0 = そのまま)"},
    ControlName{nid::prefix, u"前に付ける文字"},
    ControlName{nid::suffix, u"後に付ける文字"},
    ControlName{nid::height, u"文字の高さ (X 0.1mm)"},
    ControlName{nid::inset, u"券の端から (X 0.1mm)"},
    ControlName{nid::sheets, u"シート数 (1〜999 枚)"},
};

} // namespace

const DialogTemplate& numberingDialogTemplate()
{
    return numberingTemplate;
}

std::span<const ControlName> numberingDialogNames()
{
    return numberingNames;
}

} // namespace zorvane
