#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace zorvane::test {

// The whole content of a file; empty when it cannot be read.
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace zorvane::test
