#pragma once

#include <QStringView>

#include <optional>

namespace zorvane {

// A whole decimal number that fits in 32 bits, with an optional sign and
// surrounding blanks; anything else is not a number. Used for integer fields
// and for integer keys of the store alike.
std::optional<int> parseWholeNumber(QStringView text);

// The leading number of a free text, read the way C's atoi reads it: blanks
// skipped, an optional sign, the digits up to the first other character, 0
// when there are none. Unlike atoi it saturates instead of overflowing.
int leadingNumber(QStringView text);

} // namespace zorvane
