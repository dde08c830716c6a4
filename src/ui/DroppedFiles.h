#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace zorvane {

// The first local file among dropped URLs; the others are ignored.
std::optional<QString> firstLocalFile(const QList<QUrl>& urls);

} // namespace zorvane
