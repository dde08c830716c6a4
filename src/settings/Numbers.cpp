#include "Numbers.h"

#include <limits>

namespace zorvane {
namespace {

bool isCBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

struct Scan
{
    qint64 value = 0;
    qsizetype end = 0;
    bool hasDigits = false;
};

// Reads an optional sign and digits from pos, saturating just past the
// 32-bit range so the caller can tell an overflow from a fit.
Scan scanSignedDigits(QStringView text, qsizetype pos)
{
    Scan scan;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    constexpr qint64 beyond = qint64(std::numeric_limits<int>::max()) + 2;
    qint64 magnitude = 0;
    while (pos < text.size() && isAsciiDigit(text[pos])) {
        magnitude = std::min(beyond, magnitude * 10 + (text[pos].unicode() - u'0'));
        scan.hasDigits = true;
        ++pos;
    }
    scan.value = negative ? -magnitude : magnitude;
    scan.end = pos;
    return scan;
}

qsizetype skipBlanks(QStringView text, qsizetype pos)
{
    while (pos < text.size() && isCBlank(text[pos]))
        ++pos;
    return pos;
}

bool fitsInt(qint64 v)
{
    return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
}

} // namespace

std::optional<int> parseWholeNumber(QStringView text)
{
    const Scan scan = scanSignedDigits(text, skipBlanks(text, 0));
    if (!scan.hasDigits || skipBlanks(text, scan.end) != text.size() || !fitsInt(scan.value))
        return std::nullopt;
    return int(scan.value);
}

int leadingNumber(QStringView text)
{
    const Scan scan = scanSignedDigits(text, skipBlanks(text, 0));
    return int(std::clamp<qint64>(scan.value, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

} // namespace zorvane
