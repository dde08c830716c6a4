#pragma once

#include <QtGlobal>

#include <algorithm>
#include <limits>

namespace zorvane {

// Stored values are not bounded, so sums and products of them are formed in
// 64 bits and brought back into the 32-bit range the rest of the program
// works in. A result that would leave that range is pinned to its edge.
constexpr int clampToInt(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

} // namespace zorvane
