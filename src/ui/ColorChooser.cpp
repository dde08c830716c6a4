#include "ColorChooser.h"

#include <QColorDialog>

namespace zorvane {

std::optional<QColor> ColorDialogChooser::chooseColor(QWidget* parent, const QColor& initial)
{
    QColorDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

} // namespace zorvane
