#include "XSession.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace zorvane::test {

QString whyNoX11Session()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return u"no X display (scripts/test.sh runs this test under xvfb-run)"_s;
    for (const QString& tool : {u"xdotool"_s, u"openbox"_s}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return tool + u" is not installed (scripts/setup.sh --tests)"_s;
    }
    if (!xdotool({u"getmouselocation"_s}))
        return u"xdotool cannot reach the display "_s + qEnvironmentVariable("DISPLAY");
    return {};
}

std::optional<QString> xdotool(const QStringList& arguments, int timeoutMs)
{
    QProcess process;
    process.start(u"xdotool"_s, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QList<qulonglong> visibleWindowsOf(qint64 pid)
{
    // xdotool exits non-zero when nothing matches.
    QList<qulonglong> windows;
    const std::optional<QString> out =
        xdotool({u"search"_s, u"--onlyvisible"_s, u"--pid"_s, QString::number(pid)}, 5000);
    for (const QString& line : out.value_or(QString()).split(u'\n', Qt::SkipEmptyParts))
        windows.append(line.trimmed().toULongLong());
    return windows;
}

void stopProgram(QProcess* process)
{
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(10000))
        process->kill();
    process->waitForFinished();
}

WindowManager::WindowManager() : process_(std::make_unique<QProcess>())
{
    // Without a window manager nobody gives a new dialog the focus, and the
    // keys would stay with the window underneath.
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->start(u"openbox"_s, {u"--sm-disable"_s});
    // Openbox ends at once when another window manager runs on the display,
    // which serves as well.
    if (process_->waitForStarted())
        process_->waitForFinished(1500);
}

WindowManager::~WindowManager()
{
    if (process_->state() == QProcess::NotRunning)
        return;
    process_->terminate();
    if (!process_->waitForFinished(5000))
        process_->kill();
    process_->waitForFinished();
}

} // namespace zorvane::test
