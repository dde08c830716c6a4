#include "SettingsStore.h"

#include "Numbers.h"

#include <QStringList>

namespace zorvane {

SettingsStore::SettingsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{}

SettingsStore::~SettingsStore()
{
    settings_->sync();
}

QString SettingsStore::userStorePath(const QString& organization, const QString& application)
{
    const QSettings probe(QSettings::IniFormat, QSettings::UserScope, organization, application);
    return probe.fileName();
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
    const QVariant value = settings_->value(path(section, key));
    if (!value.isValid())
        return defaultValue;
    return parseWholeNumber(valueAsText(value)).value_or(defaultValue);
}

void SettingsStore::WriteProfileInt(const char* section, const char* key, int value)
{
    settings_->setValue(path(section, key), value);
}

QString SettingsStore::GetProfileString(const char* section, const char* key,
                                        const QString& defaultValue) const
{
    const QVariant value = settings_->value(path(section, key));
    return value.isValid() ? valueAsText(value) : defaultValue;
}

void SettingsStore::WriteProfileString(const char* section, const char* key, const QString& value)
{
    settings_->setValue(path(section, key), value);
}

void SettingsStore::RemoveSection(const char* section)
{
    settings_->remove(QLatin1StringView(section));
}

void SettingsStore::sync()
{
    settings_->sync();
}

QString SettingsStore::fileName() const
{
    return settings_->fileName();
}

} // namespace zorvane
