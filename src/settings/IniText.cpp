#include "IniText.h"

#include <QIODevice>
#include <QStringList>

#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace zorvane {
namespace {

bool isLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

int hexValue(char16_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isAsciiLetterOrNumber(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

bool isOctal(char c)
{
    return c >= '0' && c <= '7';
}

// ---- reading ------------------------------------------------------------

struct IniLine
{
    QByteArrayView text;
    qsizetype equals = -1; // first '=' outside quotes, within text
};

// Takes the next logical line from `data` at `pos`. A line break inside
// quotes or after a backslash continues the line; a ';' outside quotes
// starts a comment that runs to the end of the line.
bool nextLine(QByteArrayView data, qsizetype& pos, IniLine& line)
{
    const qsizetype size = data.size();
    const auto skipBlanks = [&] {
        while (pos < size && isBlank(data[pos]))
            ++pos;
    };
    skipBlanks();
    while (pos < size && data[pos] == ';') {
        while (pos < size && !isLineBreak(data[pos]))
            ++pos;
        skipBlanks();
    }
    const qsizetype start = pos;
    qsizetype equals = -1;
    bool quoted = false;
    while (pos < size) {
        const char c = data[pos];
        if (c == '\\') {
            ++pos;
            if (pos < size) {
                const char escaped = data[pos++];
                if (pos < size && isLineBreak(escaped) && isLineBreak(data[pos]) &&
                    data[pos] != escaped)
                    ++pos;
            }
            continue;
        }
        if (c == '"')
            quoted = !quoted;
        else if (c == '=' && !quoted && equals < 0)
            equals = pos - start;
        else if ((isLineBreak(c) || c == ';') && !quoted)
            break;
        ++pos;
    }
    line = {data.sliced(start, pos - start), equals};
    return pos > start;
}

// "%XX" and "%UXXXX" stand for one character; a backslash separates groups.
QString unescapedKey(QByteArrayView escaped)
{
    const QString text = QString::fromUtf8(escaped);
    QString key;
    key.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\') {
            key += u'/';
            continue;
        }
        if (c != u'%' || i + 1 >= text.size()) {
            key += c;
            continue;
        }
        const bool wide = text[i + 1] == u'U';
        const qsizetype first = i + 1 + (wide ? 1 : 0);
        const qsizetype digits = wide ? 4 : 2;
        char16_t code = 0;
        bool valid = first + digits <= text.size();
        for (qsizetype d = 0; valid && d < digits; ++d) {
            const int value = hexValue(text[first + d].unicode());
            valid = value >= 0;
            code = char16_t(code * 16 + value);
        }
        if (!valid) {
            key += u'%';
            continue;
        }
        key += QChar(code);
        i = first + digits - 1;
    }
    return key;
}

QString sectionPrefix(QByteArrayView line)
{
    QByteArrayView name = line.sliced(1);
    if (const qsizetype end = name.indexOf(']'); end >= 0)
        name = name.first(end);
    name = name.trimmed();
    if (name.compare("general", Qt::CaseInsensitive) == 0)
        return QString();
    if (name.compare("%general", Qt::CaseInsensitive) == 0)
        return QString::fromLatin1(name.sliced(1)) + u'/';
    return unescapedKey(name) + u'/';
}

// The control characters written as a backslash and a letter.
constexpr std::pair<char16_t, char> namedEscapes[] = {
    {u'\a', 'a'}, {u'\b', 'b'}, {u'\f', 'f'}, {u'\n', 'n'},
    {u'\r', 'r'}, {u'\t', 't'}, {u'\v', 'v'},
};

// The character a backslash and this letter stand for; 0 for none.
char16_t simpleEscape(char c)
{
    for (const auto& [character, letter] : namedEscapes) {
        if (c == letter)
            return character;
    }
    return c == '"' || c == '?' || c == '\'' || c == '\\' ? char16_t(c) : 0;
}

char namedEscapeOf(char16_t c)
{
    for (const auto& [character, letter] : namedEscapes) {
        if (c == character)
            return letter;
    }
    return 0;
}

// The texts of one value: quoted parts keep their spaces, unquoted commas
// separate the items of a list, and backslash escapes stand for characters.
class ValueReader
{
public:
    explicit ValueReader(QByteArrayView raw) : raw_(raw) {}

    // Returns whether the value was a list (then in items()).
    bool read()
    {
        skipSpaces();
        while (i_ < raw_.size()) {
            const char c = raw_[i_];
            if (c == '\\') {
                if (!readEscape())
                    return finish(false);
            } else if (c == '"') {
                ++i_;
                itemQuoted_ = true;
                quoted_ = !quoted_;
                if (!quoted_)
                    skipSpaces();
            } else if (c == ',' && !quoted_) {
                endItem();
                ++i_;
                skipSpaces();
            } else {
                readLiteral();
            }
        }
        return finish(true);
    }

    const QString& text() const { return current_; }
    const QStringList& items() const { return items_; }

private:
    void skipSpaces()
    {
        while (i_ < raw_.size() && (raw_[i_] == ' ' || raw_[i_] == '\t'))
            ++i_;
        chopLimit_ = current_.size();
    }

    void readLiteral()
    {
        qsizetype end = i_ + 1;
        while (end < raw_.size() && raw_[end] != '\\' && raw_[end] != '"' && raw_[end] != ',')
            ++end;
        current_ += QString::fromUtf8(raw_.sliced(i_, end - i_));
        i_ = end;
    }

    // False when the value ends in the middle of the escape.
    bool readEscape()
    {
        ++i_;
        if (i_ >= raw_.size())
            return false;
        const char c = raw_[i_++];
        if (const char16_t simple = simpleEscape(c)) {
            current_ += QChar(simple);
        } else if (c == 'x') {
            if (i_ < raw_.size() && hexValue(char16_t(uchar(raw_[i_]))) >= 0) {
                char16_t code = 0;
                for (int v; i_ < raw_.size() && (v = hexValue(char16_t(uchar(raw_[i_])))) >= 0;
                     ++i_)
                    code = char16_t(code * 16 + v);
                current_ += QChar(code);
            }
        } else if (isOctal(c)) {
            char16_t code = char16_t(c - '0');
            for (; i_ < raw_.size() && isOctal(raw_[i_]); ++i_)
                code = char16_t(code * 8 + (raw_[i_] - '0'));
            current_ += QChar(code);
        } else if (isLineBreak(c)) {
            if (i_ < raw_.size() && isLineBreak(raw_[i_]) && raw_[i_] != c)
                ++i_;
        }
        // Any other escaped character is dropped with its backslash.
        chopLimit_ = current_.size();
        return true;
    }

    void chopTrailingSpaces()
    {
        if (itemQuoted_)
            return;
        qsizetype n = current_.size();
        while (n > chopLimit_ && (current_[n - 1] == u' ' || current_[n - 1] == u'\t'))
            --n;
        current_.truncate(n);
    }

    void endItem()
    {
        chopTrailingSpaces();
        isList_ = true;
        items_.append(current_);
        current_.clear();
        itemQuoted_ = false;
    }

    bool finish(bool chop)
    {
        if (chop)
            chopTrailingSpaces();
        if (isList_)
            items_.append(current_);
        return isList_;
    }

    QByteArrayView raw_;
    qsizetype i_ = 0;
    QString current_;
    QStringList items_;
    qsizetype chopLimit_ = 0;
    bool quoted_ = false;
    bool itemQuoted_ = false;
    bool isList_ = false;
};

// Plain text, or nothing for a typed value.
std::optional<QString> plainText(const QString& text)
{
    if (!text.startsWith(u'@'))
        return text;
    if (text.endsWith(u')')) {
        if (text.startsWith("@String("_L1))
            return text.sliced(8).chopped(1);
        static constexpr QLatin1StringView typed[] = {"@ByteArray("_L1, "@Variant("_L1,
                                                      "@DateTime("_L1,  "@Rect("_L1,
                                                      "@Size("_L1,      "@Point("_L1};
        for (const QLatin1StringView prefix : typed) {
            if (text.startsWith(prefix))
                return std::nullopt;
        }
        if (text == "@Invalid()"_L1)
            return std::nullopt;
    }
    if (text.startsWith("@@"_L1))
        return text.sliced(1);
    return text;
}

// An invalid QVariant when the value is, or holds, a typed value.
QVariant valueOf(QByteArrayView raw)
{
    ValueReader reader(raw);
    if (!reader.read()) {
        const std::optional<QString> text = plainText(reader.text());
        return text ? QVariant(*text) : QVariant();
    }
    QStringList items;
    for (const QString& item : reader.items()) {
        const std::optional<QString> text = plainText(item);
        if (!text)
            return QVariant();
        items.append(*text);
    }
    return items;
}

// ---- writing ------------------------------------------------------------

QByteArray escapedKey(const QString& key)
{
    QByteArray escaped;
    escaped.reserve(key.size());
    for (const QChar qc : key) {
        const char16_t c = qc.unicode();
        if (c == u'/')
            escaped += '\\';
        else if (isAsciiLetterOrNumber(c) || c == u'_' || c == u'-' || c == u'.')
            escaped += char(c);
        else if (c <= 0xFF)
            escaped += '%' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
        else
            escaped += "%U" + QByteArray::number(c, 16).toUpper().rightJustified(4, '0');
    }
    return escaped;
}

QByteArray escapedText(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + 2);
    bool needsQuotes = false;
    bool escapeNextHexDigit = false;
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u';' || c == u',' || c == u'=')
            needsQuotes = true;
        // "\x1" followed by "a" would read back as "\x1a".
        if (escapeNextHexDigit && hexValue(c) >= 0) {
            escaped += "\\x"_L1 + QString::number(c, 16);
            continue;
        }
        escapeNextHexDigit = false;
        if (c == u'\0') {
            escaped += "\\0"_L1;
            escapeNextHexDigit = true;
        } else if (const char letter = namedEscapeOf(c)) {
            escaped += u'\\';
            escaped += QLatin1Char(letter);
        } else if (c == u'"' || c == u'\\') {
            escaped += u'\\';
            escaped += qc;
        } else if (c <= 0x1F) {
            escaped += "\\x"_L1 + QString::number(c, 16);
            escapeNextHexDigit = true;
        } else {
            escaped += qc;
        }
    }
    if (needsQuotes || escaped.startsWith(u' ') || escaped.endsWith(u' '))
        escaped = u'"' + escaped + u'"';
    return escaped.toUtf8();
}

// Text that starts with '@' is marked so it cannot pass for a typed value.
QByteArray escapedItem(const QString& text)
{
    return escapedText(text.startsWith(u'@') ? u'@' + text : text);
}

QByteArray escapedValue(const QVariant& value)
{
    if (!value.isValid())
        return "@Invalid()";
    if (value.metaType().id() == QMetaType::QStringList ||
        (value.metaType().id() == QMetaType::QVariantList && value.toList().size() != 1)) {
        const QStringList items = value.toStringList();
        if (items.isEmpty())
            return "@Invalid()";
        QByteArray escaped;
        for (const QString& item : items) {
            if (!escaped.isEmpty())
                escaped += ", ";
            escaped += escapedItem(item);
        }
        return escaped;
    }
    return escapedItem(value.toString());
}

QByteArray sectionHeader(const QString& section)
{
    const QByteArray escaped = escapedKey(section);
    if (escaped.isEmpty())
        return "[General]";
    if (escaped.compare("general", Qt::CaseInsensitive) == 0)
        return "[%General]";
    return '[' + escaped + ']';
}

bool readDevice(QIODevice& device, QSettings::SettingsMap& values)
{
    const QByteArray text = device.read(maxStoreFileBytes + 1);
    if (text.size() > maxStoreFileBytes)
        return false;
    values = readIniText(text);
    return true;
}

bool writeDevice(QIODevice& device, const QSettings::SettingsMap& values)
{
    const QByteArray text = writeIniText(values);
    return device.write(text) == text.size();
}

} // namespace

QSettings::SettingsMap readIniText(QByteArrayView text)
{
    if (text.startsWith("\xef\xbb\xbf"))
        text = text.sliced(3);
    QSettings::SettingsMap values;
    QString section;
    qsizetype pos = 0;
    IniLine line;
    while (nextLine(text, pos, line)) {
        if (line.text.startsWith('[')) {
            section = sectionPrefix(line.text);
            continue;
        }
        if (line.equals < 0)
            continue;
        const QString key = section + unescapedKey(line.text.first(line.equals).trimmed());
        QVariant value = valueOf(line.text.sliced(line.equals + 1));
        if (value.isValid())
            values.insert(key, std::move(value));
        else
            values.remove(key);
    }
    return values;
}

QByteArray writeIniText(const QSettings::SettingsMap& values)
{
    QMap<QString, QByteArray> sections;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(u'/');
        const QString section = slash < 0 ? QString() : it.key().first(slash);
        const QString name = slash < 0 ? it.key() : it.key().sliced(slash + 1);
        sections[section] += escapedKey(name) + '=' + escapedValue(it.value()) + '\n';
    }
    QByteArray text;
    for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
        if (!text.isEmpty())
            text += '\n';
        text += sectionHeader(it.key()) + '\n' + it.value();
    }
    return text;
}

QSettings::Format storeIniFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(u"ini"_s, readDevice, writeDevice, Qt::CaseSensitive);
    return format;
}

} // namespace zorvane
