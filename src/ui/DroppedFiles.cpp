#include "DroppedFiles.h"

namespace zorvane {

std::optional<QString> firstLocalFile(const QList<QUrl>& urls)
{
    for (const QUrl& url : urls) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            return url.toLocalFile();
    }
    return std::nullopt;
}

} // namespace zorvane
