#include "ShortWrites.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace zorvane::test {

ShortWrites::ShortWrites(qint64 tmpfsBytes)
    : dir_(std::make_unique<QTemporaryDir>(QDir::tempPath() + u"/zorvane-full-XXXXXX"))
{
    if (!dir_->isValid())
        return;
    valid_ = true;
    // ZORVANE_TEST_NO_TMPFS=1 tries the file size limit where a mount works.
    if (qEnvironmentVariableIntValue("ZORVANE_TEST_NO_TMPFS") == 1)
        return;
    const QByteArray options = "size=" + QByteArray::number(tmpfsBytes) + ",mode=0700";
    mounted_ = ::mount("zorvane-test", QFile::encodeName(dir_->path()).constData(), "tmpfs",
                       MS_NOSUID | MS_NODEV, options.constData()) == 0;
}

ShortWrites::~ShortWrites()
{
    if (mounted_)
        ::umount2(QFile::encodeName(dir_->path()).constData(), MNT_DETACH);
}

QString ShortWrites::filePath(const QString& name) const
{
    return dir_->filePath(name);
}

void ShortWrites::leaveRoom(qint64 bytes)
{
    room_ = bytes;
    if (!mounted_)
        return;
    const QByteArray filler = QFile::encodeName(dir_->filePath(QStringLiteral(".filler")));
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (fd < 0)
        return;
    static const QByteArray page(4096, 'f');
    while (::write(fd, page.constData(), size_t(page.size())) == page.size()) {
    }
    const off_t full = ::lseek(fd, 0, SEEK_END);
    const off_t freed = off_t((bytes + page.size() - 1) / page.size() * page.size());
    const int truncated = ::ftruncate(fd, full > freed ? full - freed : 0);
    Q_UNUSED(truncated); // a filler that stays whole leaves less room, still short
    ::close(fd);
}

ShortWrites::Scope::Scope(const ShortWrites& place)
{
    if (place.mounted_ || place.room_ < 0)
        return;
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    previousSoft_ = limit.rlim_cur;
    limit.rlim_cur = rlim_t(place.room_);
    std::signal(SIGXFSZ, SIG_IGN);
    limited_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

ShortWrites::Scope::~Scope()
{
    if (!limited_)
        return;
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(previousSoft_);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

void ShortWrites::applyTo(QProcess& process) const
{
    if (mounted_ || room_ < 0)
        return;
    const rlim_t room = rlim_t(room_);
    process.setChildProcessModifier([room] {
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = room;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
    });
}

} // namespace zorvane::test
