#include "SettingsStore.h"

#include "IniText.h"
#include "Numbers.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace zorvane {

SettingsStore::SettingsStore(const QString& iniPath) : fileName_(iniPath)
{
    if (!isUnusablePath(iniPath))
        settings_ = std::make_unique<QSettings>(iniPath, storeIniFormat());
}

SettingsStore::~SettingsStore()
{
    sync();
}

QString SettingsStore::userStorePath(const QString& organization, const QString& application)
{
    // Where QSettings puts a user-scope INI file, named without opening it:
    // QSettings reads its file as soon as it exists.
    const QString organizationDir =
        organization.isEmpty() ? QStringLiteral("Unknown Organization") : organization;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           organizationDir + u'/' + application + u".ini";
}

bool SettingsStore::isUnusablePath(const QString& iniPath)
{
    const QFileInfo info(iniPath);
    return info.exists() && !info.isFile();
}

QVariant SettingsStore::value(const QString& key) const
{
    return settings_ ? settings_->value(key) : inMemory_.value(key);
}

void SettingsStore::setValue(const QString& key, const QVariant& value)
{
    if (settings_)
        settings_->setValue(key, value);
    else
        inMemory_.insert(key, value);
}

QString SettingsStore::path(const char* section, const char* key)
{
    return QLatin1StringView(section) + u'/' + QLatin1StringView(key);
}

namespace {

// A hand-edited unquoted value with a comma comes back as a list; treat it
// as the text it was.
QString valueAsText(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

} // namespace

int SettingsStore::GetProfileInt(const char* section, const char* key, int defaultValue) const
{
    const QVariant value = this->value(path(section, key));
    if (!value.isValid())
        return defaultValue;
    return parseWholeNumber(valueAsText(value)).value_or(defaultValue);
}

void SettingsStore::WriteProfileInt(const char* section, const char* key, int value)
{
    setValue(path(section, key), value);
}

QString SettingsStore::GetProfileString(const char* section, const char* key,
                                        const QString& defaultValue) const
{
    const QVariant value = this->value(path(section, key));
    return value.isValid() ? valueAsText(value) : defaultValue;
}

void SettingsStore::WriteProfileString(const char* section, const char* key, const QString& value)
{
    setValue(path(section, key), value);
}

QStringList SettingsStore::childGroups(const char* section) const
{
    if (settings_) {
        settings_->beginGroup(QLatin1StringView(section));
        QStringList groups = settings_->childGroups();
        settings_->endGroup();
        return groups;
    }
    const QString prefix = QLatin1StringView(section) + u'/';
    QStringList groups;
    for (auto entry = inMemory_.cbegin(); entry != inMemory_.cend(); ++entry) {
        const QString key = entry.key();
        if (key.startsWith(prefix) && key.indexOf(u'/', prefix.size()) > 0) {
            const QString group = key.mid(prefix.size()).section(u'/', 0, 0);
            if (!groups.contains(group))
                groups.append(group);
        }
    }
    return groups;
}

void SettingsStore::RemoveSection(const char* section)
{
    if (settings_) {
        settings_->remove(QLatin1StringView(section));
        return;
    }
    const QString prefix = QLatin1StringView(section) + u'/';
    inMemory_.removeIf([&](const auto& entry) { return entry.key().startsWith(prefix); });
}

namespace {

std::optional<QByteArray> contentsOf(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!QFileInfo(path).isFile() || file.size() > maxStoreFileBytes ||
        !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// Whether the bytes read back as exactly the values the store holds.
bool holdsExactly(const QByteArray& bytes, const QSettings& expected)
{
    const QSettings::SettingsMap reread = readIniText(bytes);
    const QStringList keys = expected.allKeys();
    return reread.size() == keys.size() &&
           std::all_of(keys.cbegin(), keys.cend(), [&](const QString& key) {
               return valueAsText(reread.value(key)) == valueAsText(expected.value(key));
           });
}

// Puts the previous bytes back in place: the cut-off file's space is freed
// first, so they fit where they fitted before.
void restore(const QString& path, const QByteArray& previous, bool existed)
{
    if (!existed) {
        QFile::remove(path);
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(previous) != previous.size() || !file.flush())
        QFile::remove(path); // no store reads as the defaults; a cut-off one might not
}

} // namespace

void SettingsStore::sync()
{
    if (!settings_)
        return;
    // QSaveFile, which QSettings writes through, commits a file whose last
    // buffered bytes could not be flushed on a full disk. The file is read
    // back after every write, and a cut-off one replaced by what was there.
    const bool existed = QFileInfo::exists(fileName_);
    const std::optional<QByteArray> previous = contentsOf(fileName_);
    settings_->sync();
    if (!previous)
        return;
    const std::optional<QByteArray> written = contentsOf(fileName_);
    if (written && *written != *previous && !holdsExactly(*written, *settings_))
        restore(fileName_, *previous, existed);
}

void SettingsStore::refresh() const
{
    if (settings_ && !refreshHeld_)
        settings_->sync();
}

QString SettingsStore::fileName() const
{
    return settings_ ? settings_->fileName() : fileName_;
}

} // namespace zorvane
