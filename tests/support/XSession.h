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

// In a test function: skips it when no X session can be used, or fails it
// where the run asks for one (ZORVANE_REQUIRE_X11=1, as scripts/test.sh
// does under xvfb-run).
#define ZORVANE_USE_X11_SESSION()                                                                  \
    do {                                                                                           \
        const QString noX11 = zorvane::test::whyNoX11Session();                                    \
        if (!noX11.isEmpty() && qEnvironmentVariableIntValue("ZORVANE_REQUIRE_X11") == 1)          \
            QFAIL(qPrintable(noX11));                                                              \
        if (!noX11.isEmpty())                                                                      \
            QSKIP(qPrintable(noX11));                                                              \
    } while (false)

// Ends a program the test started: asked to close, killed when it does not.
void stopProgram(QProcess* process);

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
