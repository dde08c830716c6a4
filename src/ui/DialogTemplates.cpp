#include "DialogTemplates.h"

#include "ZorvaneVersion.h"

#include <array>

namespace zorvane {
namespace {

using enum ControlKind;
constexpr ControlStyles group{ControlStyle::GroupStart};
constexpr ControlStyles tab{ControlStyle::TabStop};
constexpr ControlStyles groupTab = ControlStyle::GroupStart | ControlStyle::TabStop;
constexpr ControlStyles plain{};

constexpr std::array aboutControls{
    ControlTemplate{noControlId, Icon, u"", 11, 17, 20, 20, plain},
    ControlTemplate{noControlId, Label, u"Zorvane Version " ZORVANE_VERSION, 40, 10, 80, 8, group},
    ControlTemplate{ids::ok, DefaultPushButton, u"OK", 43, 50, 42, 14, groupTab},
};

constexpr DialogTemplate aboutTemplate{u"Zorvaneのﾊﾞｰｼﾞｮﾝ情報", 127, 71, aboutControls, {}};

// Every label starts a group and nothing else does, so the radio buttons
// fall into three groups: ticket type, paper and fill order.
constexpr std::array mainControls{
    ControlTemplate{ids::main::close, PushButton, u"閉じる", 129, 248, 35, 14, tab},
    ControlTemplate{noControlId, Label, u"画像ファイル ：", 7, 7, 44, 8, group},
    ControlTemplate{ids::main::imagePath, Edit, u"", 52, 5, 130, 14, tab},
    ControlTemplate{ids::main::printStart, PushButton, u"印刷開始", 73, 248, 51, 14, tab},
    ControlTemplate{noControlId, GroupBox, u"画像サイズ設定", 7, 24, 185, 69, plain},
    ControlTemplate{ids::main::typeA, RadioButton, u"Ａ型　(5.79 X 3.02 cm)", 15, 36, 78, 10,
                    plain},
    ControlTemplate{ids::main::typeB, RadioButton, u"Ｂ型　(5.79 X 2.52 cm)", 15, 46, 78, 10,
                    plain},
    ControlTemplate{ids::main::typeD, RadioButton, u"Ｄ型　(8.84 X 3.02 cm)", 15, 56, 78, 10,
                    plain},
    ControlTemplate{ids::main::typeOther, RadioButton, u"その他", 15, 73, 33, 10, plain},
    ControlTemplate{ids::main::customWidth, Edit, u"", 49, 71, 17, 14, tab},
    ControlTemplate{ids::main::customHeight, Edit, u"", 77, 71, 17, 14, tab},
    ControlTemplate{noControlId, Label, u"X", 68, 73, 8, 8, group},
    ControlTemplate{noControlId, Label, u"X 0.1mm", 96, 73, 26, 8, group},
    ControlTemplate{ids::main::detailSettings, PushButton, u"詳細設定", 33, 248, 35, 14, tab},
    ControlTemplate{ids::main::browsePicture, PushButton, u"...", 185, 5, 7, 14, tab},
    ControlTemplate{noControlId, Label, u"印刷解像度 ：", 121, 37, 41, 8, group},
    ControlTemplate{ids::main::resolution, Edit, u"", 121, 46, 20, 14, tab},
    ControlTemplate{noControlId, Label, u"pixels/inch", 143, 47, 34, 8, group},
    ControlTemplate{ids::main::previewBox, EtchedFrame, u"", 7, 105, 82, 131, plain},
    ControlTemplate{noControlId, GroupBox, u"用紙設定", 98, 101, 94, 79, plain},
    ControlTemplate{ids::main::paperA4, RadioButton, u"A4　(21.0 X 29.7 cm)", 104, 113, 75, 10,
                    plain},
    ControlTemplate{ids::main::paperB5, RadioButton, u"B5　(18.2 X 25.7 cm)", 104, 123, 75, 10,
                    plain},
    ControlTemplate{ids::main::paperA4Quarter, RadioButton, u"A4四切 (14.8 X 10.5 cm)", 104, 133,
                    81, 10, plain},
    ControlTemplate{noControlId, GroupBox, u"印刷数設定", 98, 188, 94, 48, plain},
    ControlTemplate{ids::main::count, ComboBox, u"", 123, 201, 27, 369, tab},
    ControlTemplate{noControlId, Label, u"合計", 105, 204, 15, 8, group},
    ControlTemplate{noControlId, Label, u"個", 152, 204, 8, 8, group},
    ControlTemplate{ids::main::rowsFirst, RadioButton, u"横順", 105, 219, 30, 10, plain},
    ControlTemplate{ids::main::columnsFirst, RadioButton, u"縦順", 139, 219, 30, 10, plain},
    ControlTemplate{noControlId, Label, u"(横サイズから概計算)", 121, 61, 65, 8, group},
    ControlTemplate{noControlId, Label,
                    u"★ \"A4四切\"は\"横置き\"その他の用紙は\"縦置き\"にセットして下さい。", 109,
                    149, 74, 27, group},
    ControlTemplate{ids::main::keepAspect, CheckBox, u"縦横比固定", 126, 73, 50, 10, tab},
};

constexpr std::array mainComboLists{ComboListInit{ids::main::count, 1, 50}};

constexpr DialogTemplate mainTemplate{u"Zorvane", 199, 269, mainControls, mainComboLists};

constexpr std::array detailControls{
    ControlTemplate{ids::ok, DefaultPushButton, u"OK", 33, 240, 47, 14, tab},
    ControlTemplate{ids::cancel, PushButton, u"ｷｬﾝｾﾙ", 87, 240, 31, 14, tab},
    ControlTemplate{noControlId, GroupBox, u"印刷開始位置", 7, 7, 141, 50, plain},
    ControlTemplate{noControlId, Label, u"用紙の左上隅からのオフセット", 15, 25, 55, 18, group},
    ControlTemplate{noControlId, Label, u"X ：", 74, 21, 11, 8, group},
    ControlTemplate{noControlId, Label, u"Y ：", 74, 37, 11, 8, group},
    ControlTemplate{ids::detail::offsetX, Edit, u"", 86, 19, 22, 14, tab},
    ControlTemplate{ids::detail::frameRed, Edit, u"", 45, 131, 17, 14, tab},
    ControlTemplate{noControlId, Label, u"X 0.1mm", 111, 29, 25, 9, group},
    ControlTemplate{noControlId, GroupBox, u"隙間調整", 7, 63, 141, 35, plain},
    ControlTemplate{ids::detail::frameGreen, Edit, u"", 73, 131, 17, 14, tab},
    ControlTemplate{noControlId, Label, u"X 0.1mm", 110, 79, 25, 9, group},
    ControlTemplate{noControlId, GroupBox, u"オプション", 7, 105, 141, 84, plain},
    ControlTemplate{ids::detail::drawFrame, CheckBox, u"各アイテムに枠線を付ける。", 17, 119, 97,
                    10, tab},
    ControlTemplate{ids::detail::offsetY, Edit, u"", 86, 36, 22, 14, tab},
    ControlTemplate{noControlId, Label, u"R", 36, 133, 8, 8, group},
    ControlTemplate{ids::detail::gapV, Edit, u"", 42, 76, 22, 14, tab},
    ControlTemplate{ids::detail::frameBlue, Edit, u"", 101, 131, 17, 14, tab},
    ControlTemplate{noControlId, Label, u"G", 64, 133, 8, 8, group},
    ControlTemplate{noControlId, Label, u"B", 92, 133, 8, 8, group},
    ControlTemplate{ids::detail::chooseColor, PushButton, u"作成", 121, 131, 19, 14, tab},
    ControlTemplate{ids::detail::gapH, Edit, u"", 86, 76, 22, 14, tab},
    ControlTemplate{noControlId, Label, u"縦 ：", 27, 79, 14, 8, group},
    ControlTemplate{noControlId, Label, u"横 ：", 71, 79, 14, 8, group},
    ControlTemplate{ids::detail::limitGrid, CheckBox, u"アイテムの配列数を制限する。", 17, 151, 105,
                    10, tab},
    ControlTemplate{noControlId, Label, u"縦 ：", 27, 166, 14, 8, group},
    ControlTemplate{noControlId, Label, u"横 ：", 71, 166, 14, 8, group},
    ControlTemplate{noControlId, Label, u"個まで", 110, 166, 20, 8, group},
    ControlTemplate{ids::detail::maxRows, ComboBox, u"", 43, 164, 22, 30, tab},
    ControlTemplate{ids::detail::maxCols, ComboBox, u"", 86, 164, 22, 30, tab},
    ControlTemplate{ids::detail::swatch, BlackFrame, u"", 20, 132, 12, 13, plain},
    ControlTemplate{noControlId, GroupBox, u"テキストフォント", 7, 196, 141, 34, plain},
    ControlTemplate{ids::detail::fontPercent, Edit, u"", 108, 208, 22, 14, tab},
    ControlTemplate{noControlId, Label, u"フォントサイズ ： 標準フォントの", 14, 211, 92, 8, group},
    ControlTemplate{noControlId, Label, u"％", 132, 211, 8, 8, group},
};

constexpr std::array detailComboLists{ComboListInit{ids::detail::maxRows, 1, 20},
                                      ComboListInit{ids::detail::maxCols, 1, 20}};

constexpr DialogTemplate detailTemplate{u"詳細設定", 155, 261, detailControls, detailComboLists};

constexpr std::array mainNames{
    ControlName{ids::main::imagePath, u"画像ファイル"},
    ControlName{ids::main::customWidth, u"その他の横サイズ (X 0.1mm)"},
    ControlName{ids::main::customHeight, u"その他の縦サイズ (X 0.1mm)"},
    ControlName{ids::main::resolution, u"印刷解像度 (pixels/inch)"},
    ControlName{ids::main::count, u"印刷数 合計 (個)"},
};

constexpr std::array detailNames{
    ControlName{ids::detail::offsetX, u"印刷開始位置 X (X 0.1mm)"},
    ControlName{ids::detail::offsetY, u"印刷開始位置 Y (X 0.1mm)"},
    ControlName{ids::detail::gapV, u"隙間 縦 (X 0.1mm)"},
    ControlName{ids::detail::gapH, u"隙間 横 (X 0.1mm)"},
    ControlName{ids::detail::frameRed, u"枠線の色 R"},
    ControlName{ids::detail::frameGreen, u"枠線の色 G"},
    ControlName{ids::detail::frameBlue, u"枠線の色 B"},
    ControlName{ids::detail::maxRows, u"配列数の上限 縦 (個まで)"},
    ControlName{ids::detail::maxCols, u"配列数の上限 横 (個まで)"},
    ControlName{ids::detail::fontPercent, u"フォントサイズ (標準フォントの％)"},
};

// The two crosshairs side by side, each with its distances from the
// paper's left and top edges; the printer's name above, the correction in
// force below.
constexpr std::array correctionControls{
    ControlTemplate{ids::correction::printerName, Label, u"", 7, 7, 184, 8, group},
    ControlTemplate{
        noControlId, Label,
        u"位置合わせ用紙の十字の中心まで、用紙の左端と上端から測った距離を入力して下さい。", 7, 19,
        184, 18, group},
    ControlTemplate{noControlId, GroupBox, u"左上の十字", 7, 42, 90, 52, plain},
    ControlTemplate{noControlId, Label, u"左端から ：", 13, 58, 32, 8, group},
    ControlTemplate{ids::correction::nearX, Edit, u"", 46, 56, 22, 14, tab},
    ControlTemplate{noControlId, Label, u"上端から ：", 13, 76, 32, 8, group},
    ControlTemplate{ids::correction::nearY, Edit, u"", 46, 74, 22, 14, tab},
    ControlTemplate{noControlId, Label, u"X 0.1mm", 70, 67, 25, 9, group},
    ControlTemplate{noControlId, GroupBox, u"右下の十字", 101, 42, 90, 52, plain},
    ControlTemplate{noControlId, Label, u"左端から ：", 107, 58, 32, 8, group},
    ControlTemplate{ids::correction::farX, Edit, u"", 140, 56, 22, 14, tab},
    ControlTemplate{noControlId, Label, u"上端から ：", 107, 76, 32, 8, group},
    ControlTemplate{ids::correction::farY, Edit, u"", 140, 74, 22, 14, tab},
    ControlTemplate{noControlId, Label, u"X 0.1mm", 164, 67, 25, 9, group},
    ControlTemplate{ids::correction::current, Label, u"", 7, 100, 184, 18, group},
    ControlTemplate{ids::correction::reset, PushButton, u"補正を解除", 7, 124, 50, 14, tab},
    ControlTemplate{ids::ok, DefaultPushButton, u"OK", 101, 124, 42, 14, tab},
    ControlTemplate{ids::cancel, PushButton, u"ｷｬﾝｾﾙ", 149, 124, 42, 14, tab},
};

constexpr DialogTemplate correctionTemplate{u"位置の補正", 198, 145, correctionControls, {}};

constexpr std::array correctionNames{
    ControlName{ids::correction::nearX, u"左上の十字 左端から (X 0.1mm)"},
    ControlName{ids::correction::nearY, u"左上の十字 上端から (X 0.1mm)"},
    ControlName{ids::correction::farX, u"右下の十字 左端から (X 0.1mm)"},
    ControlName{ids::correction::farY, u"右下の十字 上端から (X 0.1mm)"},
};

} // namespace

std::span<const ControlName> mainDialogNames()
{
    return mainNames;
}

std::span<const ControlName> detailDialogNames()
{
    return detailNames;
}

std::span<const ControlName> correctionDialogNames()
{
    return correctionNames;
}

const DialogTemplate& aboutDialogTemplate()
{
    return aboutTemplate;
}

const DialogTemplate& mainDialogTemplate()
{
    return mainTemplate;
}

const DialogTemplate& detailDialogTemplate()
{
    return detailTemplate;
}

const DialogTemplate& correctionDialogTemplate()
{
    return correctionTemplate;
}

} // namespace zorvane
