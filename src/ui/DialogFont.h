#pragma once

#include <QFont>

namespace zorvane {

// The Japanese Gothic face the dialogs are drawn in, at 9 points. The
// dialogs were designed for a proportional Gothic; the closest face that the
// program's packages install is Noto Sans CJK JP, and a Gothic (sans-serif)
// face that holds Japanese glyphs stands in when it is missing.
QFont dialogFont();

// The family that dialogFont() asks for first.
inline constexpr char16_t dialogFontFamily[] = u"Noto Sans CJK JP";

} // namespace zorvane
