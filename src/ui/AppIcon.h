#pragma once

#include <QIcon>
#include <QSize>

namespace zorvane {

// The application's icon: a sheet with a folded corner and rows of tickets,
// in every size the resources hold.
QIcon appIcon();

// The size at which dialogs show the icon.
inline constexpr QSize appIconSize{32, 32};

} // namespace zorvane
