#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace zorvane::fuzz {

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The application object a target needs, made once for the whole run. No
// display and no printer server: every lookup fails at once instead of
// waiting on something outside the process.
template<typename Application> void startApplication(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("CUPS_SERVER", "/nonexistent/zorvane-fuzz.sock");
    static std::unique_ptr<Application> app;
    app = std::make_unique<Application>(*argc, *argv);
    QCoreApplication::setOrganizationName(QStringLiteral("zorvane-fuzz"));
}

} // namespace zorvane::fuzz
