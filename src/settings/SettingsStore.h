#pragma once

#include <QHash>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

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
    // A path that names something other than a regular file (a FIFO or a
    // device would block or never end) is not opened: the store then starts
    // empty, so every value reads as its default, and keeps writes in
    // memory for this run.
    explicit SettingsStore(const QString& iniPath);
    ~SettingsStore();

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The user's store for an organisation and application name, under
    // $XDG_CONFIG_HOME (or ~/.config). Only names the file: opening it is
    // left to the store.
    static QString userStorePath(const QString& organization, const QString& application);

    // Whether the path exists but is not a regular file, so it is not used.
    static bool isUnusablePath(const QString& iniPath);
    // True when this store was refused its file and lives in memory.
    bool inMemoryOnly() const { return !settings_; }

    int GetProfileInt(const char* section, const char* key, int defaultValue) const;
    void WriteProfileInt(const char* section, const char* key, int value);
    QString GetProfileString(const char* section, const char* key,
                             const QString& defaultValue) const;
    void WriteProfileString(const char* section, const char* key, const QString& value);

    // The names of the groups directly below a section, as stored.
    QStringList childGroups(const char* section) const;

    // Removes every key of the section and of the groups below it.
    void RemoveSection(const char* section);

    // Pushes pending writes to the file; also done on destruction.
    void sync();
    // Reads the file afresh if another copy of the program has changed it
    // since (and pushes pending writes). Every batch of reads starts with
    // it, so copies running side by side see each other's settings.
    void refresh() const;

    // Reads made while one lives see a single version of the file: it is
    // read afresh once, when the batch begins, and not again until the
    // batch ends, so a job is never made from two versions of a file that
    // another copy of the program is writing.
    class ReadBatch
    {
    public:
        explicit ReadBatch(const SettingsStore& store) : store_(store)
        {
            store_.refresh();
            store_.refreshHeld_ = true;
        }
        ~ReadBatch() { store_.refreshHeld_ = false; }
        ReadBatch(const ReadBatch&) = delete;
        ReadBatch& operator=(const ReadBatch&) = delete;

    private:
        const SettingsStore& store_;
    };

    QString fileName() const;

private:
    static QString path(const char* section, const char* key);
    QVariant value(const QString& key) const;
    void setValue(const QString& key, const QVariant& value);

    QString fileName_;
    std::unique_ptr<QSettings> settings_; // null when the file was refused
    QHash<QString, QVariant> inMemory_;
    mutable bool refreshHeld_ = false;
};

} // namespace zorvane
