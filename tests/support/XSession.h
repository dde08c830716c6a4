#pragma once

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// Drives a real X server as a user would: real key presses and mouse moves
// through xdotool, so the X server's own key repeat and a window manager's
// focus handling take part, which the offscreen platform has neither of.
namespace zorvane::test {

// Why a real X server with xdotool and a window manager cannot be used;
// empty when it can.
QString whyNoX11Session();

// Runs xdotool with the arguments and gives its output; nothing when it
// failed or took longer than timeoutMs.
std::optional<QString> xdotool(const QStringList& arguments, int timeoutMs = 15000);

// The visible top-level windows of the program with the process id.
QList<qulonglong> visibleWindowsOf(qint64 pid);

// A window manager for the tests' display, started unless one already
// runs there, and stopped with this object.
class WindowManager
{
public:
    WindowManager();
    ~WindowManager();
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

private:
    std::unique_ptr<QProcess> process_;
};

} // namespace zorvane::test
