#pragma once

// Every section and key of the settings store, in one place. The names
// mirror the controls that show the values, so one key name can mean
// different fields in the two sections ("EDIT2" is the custom width in
// "Main" but the vertical start offset in "Option").
namespace zorvane::keys {

inline constexpr char mainSection[] = "Main";
inline constexpr char optionSection[] = "Option";
// One group per printer below this section, named by the printer's full
// name percent-encoded, so a '/' or '\\' in the name never splits the key.
inline constexpr char calibrationSection[] = "Calibration";
// How tickets sit on the sheet and which cells of a label sheet are used.
// Written only once the user changes one of them.
inline constexpr char sheetSection[] = "Sheet";
// Numbered tickets and the sheets of one print; written only from the
// numbering dialog and after a numbered print.
inline constexpr char numberingSection[] = "Numbering";

namespace main {
inline constexpr char customWidth[] = "EDIT2";
inline constexpr char customHeight[] = "EDIT3";
inline constexpr char countText[] = "COMBO1";
inline constexpr char ticketA[] = "RADIO1";
inline constexpr char ticketB[] = "RADIO2";
inline constexpr char ticketD[] = "RADIO3";
inline constexpr char ticketOther[] = "RADIO4";
inline constexpr char paperA4[] = "RADIO5";
inline constexpr char paperB5[] = "RADIO6";
inline constexpr char paperA4Quarter[] = "RADIO7";
inline constexpr char rowsFirst[] = "RADIO8";
inline constexpr char columnsFirst[] = "RADIO9";
inline constexpr char keepAspect[] = "CHK1";
} // namespace main

namespace option {
inline constexpr char offsetX[] = "EDIT1";
inline constexpr char offsetY[] = "EDIT2";
inline constexpr char gapV[] = "EDIT3";
inline constexpr char gapH[] = "EDIT4";
inline constexpr char frameRed[] = "EDIT5";
inline constexpr char frameGreen[] = "EDIT6";
inline constexpr char frameBlue[] = "EDIT7";
inline constexpr char fontPercent[] = "EDIT8";
inline constexpr char drawFrame[] = "CHK1";
inline constexpr char limitGrid[] = "CHK2";
inline constexpr char maxRows[] = "COMBO1";
inline constexpr char maxCols[] = "COMBO2";
} // namespace option

namespace calibration {
inline constexpr char scaleX[] = "ScaleX"; // millionths
inline constexpr char scaleY[] = "ScaleY";
inline constexpr char shiftX[] = "ShiftX"; // micrometres
inline constexpr char shiftY[] = "ShiftY";
} // namespace calibration
namespace sheet {
inline constexpr char placement[] = "Placement";     // 0 stretch, 1 whole, 2 fill
inline constexpr char turned[] = "Turned";           // nonzero: tickets turned
inline constexpr char markPrinted[] = "MarkPrinted"; // nonzero: printed cells become used
// Followed by the paper, the ticket size as laid out and "T" when turned,
// as in "Used_A4_579x302" or "Used_B5_302x579_T".
inline constexpr char usedCellsPrefix[] = "Used_";
inline constexpr char cutMarks[] = "CutMarks"; // nonzero: cut marks outside the grid
inline constexpr char bleed[] = "Bleed";       // tenths of a millimetre, 0 to 300
} // namespace sheet
namespace numbering {
inline constexpr char enabled[] = "Enabled";
inline constexpr char start[] = "Start";
inline constexpr char digits[] = "Digits";
inline constexpr char prefix[] = "Prefix";
inline constexpr char suffix[] = "Suffix";
inline constexpr char height[] = "Height"; // tenths of a millimetre
inline constexpr char position[] = "Position";
inline constexpr char inset[] = "Inset";
inline constexpr char stubPosition[] = "StubPosition"; // -1: no stub
inline constexpr char colour[] = "Colour";             // 0xRRGGBB
inline constexpr char backing[] = "Backing";
inline constexpr char sheets[] = "Sheets";
} // namespace numbering

} // namespace zorvane::keys
