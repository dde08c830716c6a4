#pragma once

#include <QPageSize>

#include <optional>

namespace zorvane {

// The device-mode paper code of a Qt page size, where the record has one.
std::optional<int> paperCodeOf(QPageSize::PageSizeId id);
// The Qt page size of a device-mode paper code; none for user-defined and
// unknown codes.
std::optional<QPageSize::PageSizeId> pageSizeIdOf(int paperCode);

} // namespace zorvane
