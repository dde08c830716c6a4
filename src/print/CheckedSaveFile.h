#pragma once

#include <QIODevice>
#include <QSaveFile>
#include <QString>

namespace zorvane {

// A file that replaces its target only once every byte written to it has
// reached the disk. QSaveFile alone commits a file whose last buffered
// bytes could not be flushed (a full disk, a file size limit), and writers
// such as QPdfWriter ignore what write() returns; this device remembers any
// short write, flushes and syncs before committing, and otherwise leaves
// the previous file exactly as it was.
class CheckedSaveFile : public QIODevice
{
public:
    explicit CheckedSaveFile(const QString& filePath);
    ~CheckedSaveFile() override;

    // Opens the temporary file beside the target.
    bool openForWriting();
    // Moves the file into place when everything was written; otherwise
    // removes it. True when the target now holds exactly what was written.
    bool commit();

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    QSaveFile file_;
    bool failed_ = false;
};

// Writes bytes into a file by way of CheckedSaveFile.
bool writeFileCompletely(const QString& filePath, const QByteArray& bytes);

} // namespace zorvane
