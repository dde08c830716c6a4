#include "CheckedSaveFile.h"

#include <cerrno>
#include <unistd.h>

namespace zorvane {

CheckedSaveFile::CheckedSaveFile(const QString& filePath) : file_(filePath) {}

CheckedSaveFile::~CheckedSaveFile()
{
    if (file_.isOpen())
        file_.cancelWriting(); // never committed: the target stays as it was
}

bool CheckedSaveFile::openForWriting()
{
    if (!file_.open(QIODevice::WriteOnly))
        return false;
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 CheckedSaveFile::readData(char*, qint64)
{
    return -1;
}

qint64 CheckedSaveFile::writeData(const char* data, qint64 size)
{
    if (failed_)
        return -1;
    if (file_.write(data, size) != size) {
        failed_ = true;
        return -1;
    }
    return size;
}

bool CheckedSaveFile::commit()
{
    QIODevice::close();
    if (!file_.isOpen())
        return false;
    // A disk that fills up while the last buffered bytes are flushed, or
    // while the kernel writes the file out, is noticed here.
    const bool synced = !failed_ && file_.flush() &&
                        (::fsync(file_.handle()) == 0 || errno == EINVAL || errno == EROFS);
    if (!synced) {
        file_.cancelWriting();
        return false;
    }
    return file_.commit();
}

bool writeFileCompletely(const QString& filePath, const QByteArray& bytes)
{
    CheckedSaveFile file(filePath);
    return file.openForWriting() && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace zorvane
