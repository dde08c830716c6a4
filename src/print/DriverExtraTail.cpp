#include "DriverExtraTail.h"

using namespace Qt::StringLiterals;

namespace zorvane {
namespace {

constexpr QByteArrayView printerKey = "printer";
constexpr QByteArrayView formatKey = "format";
constexpr QByteArrayView outputKey = "output";
constexpr QByteArrayView cupsPrefix = "cups.";

QByteArray escaped(const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    QByteArray out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        if (c == '%' || c == '\n' || c == '\r' || c == '\0')
            out +=
                QByteArray('%' + QByteArray::number(uchar(c), 16).rightJustified(2, '0').toUpper());
        else
            out += c;
    }
    return out;
}

QString unescaped(QByteArrayView value)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(value.toByteArray()));
}

QByteArray line(QByteArrayView key, const QString& value)
{
    return key.toByteArray() + '=' + escaped(value) + '\n';
}

} // namespace

QByteArray DriverExtraTail::encode(int capacity) const
{
    QList<QByteArray> lines;
    if (!printerName.isEmpty())
        lines.append(line(printerKey, printerName));
    lines.append(line(formatKey, pdfFile ? u"pdf"_s : u"native"_s));
    if (!outputFile.isEmpty())
        lines.append(line(outputKey, outputFile));
    for (qsizetype i = 0; i + 1 < cupsOptions.size(); i += 2)
        lines.append(line(QByteArray(cupsPrefix.toByteArray() + cupsOptions[i].toUtf8()),
                          cupsOptions[i + 1]));

    QByteArray out;
    for (const QByteArray& each : lines) {
        if (out.size() + each.size() <= capacity)
            out += each;
    }
    return out;
}

DriverExtraTail DriverExtraTail::decode(QByteArrayView tail)
{
    DriverExtraTail result;
    const qsizetype end = tail.indexOf('\0');
    const QByteArrayView text = end < 0 ? tail : tail.first(end);
    for (const QByteArrayView each : text.toByteArray().split('\n')) {
        const qsizetype equals = each.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArrayView key = each.first(equals);
        const QString value = unescaped(each.sliced(equals + 1));
        if (key == printerKey)
            result.printerName = value;
        else if (key == formatKey)
            result.pdfFile = value == u"pdf";
        else if (key == outputKey)
            result.outputFile = value;
        else if (key.startsWith(cupsPrefix) && key.size() > cupsPrefix.size())
            result.cupsOptions << QString::fromUtf8(key.sliced(cupsPrefix.size())) << value;
    }
    return result;
}

} // namespace zorvane
