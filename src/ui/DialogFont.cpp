#include "DialogFont.h"

#include <QStringList>

namespace zorvane {

QFont dialogFont()
{
    QFont font;
    font.setFamilies({QString::fromUtf16(dialogFontFamily), QStringLiteral("Noto Sans JP"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(9);
    return font;
}

} // namespace zorvane
