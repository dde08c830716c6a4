#pragma once

#include <QString>

class QWidget;

namespace zorvane {

// A modal message with one OK button, captioned with the application name.
// Asked for during a paint, it is shown once the paint has returned.
void showMessage(QWidget* parent, const QString& text);

} // namespace zorvane
