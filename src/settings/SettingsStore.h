#pragma once

#include <QSettings>
#include <QString>

#include <memory>

namespace zorvane {

// The per-user store of named integer and text values by section. Whatever
// is missing or unreadable reads as the caller's default; writes that cannot
// reach the disk are lost without a word, as the program treats the store as
// optional.
class SettingsStore
{
public:
    // The store of one INI file; tests pass a file in a temporary directory.
    explicit SettingsStore(const QString& iniPath);
    ~SettingsStore();

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The user's store for an organisation and application name, under
    // $XDG_CONFIG_HOME (or ~/.config).
    static QString userStorePath(const QString& organization, const QString& application);

    int GetProfileInt(const char* section, const char* key, int defaultValue) const;
    void WriteProfileInt(const char* section, const char* key, int value);
    QString GetProfileString(const char* section, const char* key,
                             const QString& defaultValue) const;
    void WriteProfileString(const char* section, const char* key, const QString& value);

    // Removes every key of the section and of the groups below it.
    void RemoveSection(const char* section);

    // Pushes pending writes to the file; also done on destruction.
    void sync();

    QString fileName() const;

private:
    static QString path(const char* section, const char* key);

    std::unique_ptr<QSettings> settings_;
};

} // namespace zorvane
