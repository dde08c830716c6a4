#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace zorvane::fuzz {

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The application object a target needs, made once for the whole run and
// never destroyed: libFuzzer ends the process with exit(), after Qt's own
// statics may be gone. No display and no printer server: every lookup
// fails at once instead of waiting on something outside the process.
template<typename Application> void startApplication(char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("CUPS_SERVER", "/nonexistent/zorvane-fuzz.sock");
    static int count = 1; // only the program's name: the rest is libFuzzer's
    static Application* const app = new Application(count, *argv);
    Q_UNUSED(app);
}

// A directory for the files a target writes for each input, in memory
// where the system has /dev/shm, so no input waits on a disk.
inline std::unique_ptr<QTemporaryDir> scratchDirectory()
{
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return std::make_unique<QTemporaryDir>(base + QStringLiteral("/zorvane-fuzz-XXXXXX"));
}

} // namespace zorvane::fuzz
