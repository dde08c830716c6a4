#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace zorvane::test {

// A directory where writes run out of room, as on a full disk: a small
// tmpfs mounted for the test when it may mount one (as root), otherwise a
// plain temporary directory where the file size limit (RLIMIT_FSIZE, with
// SIGXFSZ ignored) cuts writes short the same way.
class ShortWrites
{
public:
    // tmpfsBytes: the size of the tmpfs, when one is mounted.
    explicit ShortWrites(qint64 tmpfsBytes = 1024 * 1024);
    ~ShortWrites();

    ShortWrites(const ShortWrites&) = delete;
    ShortWrites& operator=(const ShortWrites&) = delete;

    bool isValid() const { return valid_; }
    bool onTmpfs() const { return mounted_; }
    QString filePath(const QString& name) const;

    // Fills the tmpfs so that about this many bytes are left (rounded to
    // whole pages); without a tmpfs, remembers it as the file size limit.
    void leaveRoom(qint64 bytes);

    // Cuts this process's writes short while it is alive (nothing to do on
    // a tmpfs, which is full already).
    class Scope
    {
    public:
        explicit Scope(const ShortWrites& place);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        bool limited_ = false;
        unsigned long long previousSoft_ = 0;
    };

    // Makes a child process's writes run short the same way.
    void applyTo(QProcess& process) const;

private:
    std::unique_ptr<QTemporaryDir> dir_;
    bool valid_ = false;
    bool mounted_ = false;
    qint64 room_ = -1;
};

} // namespace zorvane::test
