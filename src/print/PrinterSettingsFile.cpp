#include "PrinterSettingsFile.h"

#include "CheckedSaveFile.h"
#include "PrinterSettingsBlock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zorvane {

namespace {

// Directories the package manager owns: a file written there by a run as
// root would outlive the package and be shared by every user.
bool isSystemDirectory(const QString& dir)
{
    const QString path = QDir::cleanPath(QFileInfo(dir).absoluteFilePath()) + u'/';
    for (const QStringView system : {u"/usr/", u"/bin/", u"/sbin/", u"/lib/", u"/opt/"}) {
        if (path.startsWith(system))
            return true;
    }
    return false;
}

} // namespace

QString printerSettingsFilePath(const QString& executableDir, const QString& storeFilePath)
{
    const QFileInfo dir(executableDir);
    const bool besideExecutable =
        dir.isDir() && dir.isWritable() && !isSystemDirectory(executableDir);
    const QString home = besideExecutable ? executableDir : QFileInfo(storeFilePath).absolutePath();
    return QDir(home).filePath(QLatin1StringView(printerSettingsFileName));
}

QString printerSettingsFilePath(const QString& storeFilePath)
{
    return printerSettingsFilePath(QCoreApplication::applicationDirPath(), storeFilePath);
}

void LoadPrinterSettingsFile(PrinterSettingsBlock& block, const QString& filePath)
{
    // A FIFO or a device in its place would block or never end.
    if (!QFileInfo(filePath).isFile())
        return;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // Reading one byte more than the block holds tells a file that is too
    // long without reading all of a huge one.
    const QByteArray stored = file.read(block.size() + 1);
    if (stored.size() > block.size())
        return;
    block.overlay(stored);
}

bool SavePrinterSettingsFile(const PrinterSettingsBlock& block, const QString& filePath)
{
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    return writeFileCompletely(filePath, block.record());
}

} // namespace zorvane
