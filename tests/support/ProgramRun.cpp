#include "ProgramRun.h"

#include <QProcess>

using namespace Qt::StringLiterals;

namespace zorvane::test {

ProgramRun runWithoutDisplay(const QString& program, const QStringList& arguments,
                             const QProcessEnvironment& variables)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
        env.remove(name);
    for (const QString& name : variables.keys())
        env.insert(name, variables.value(name));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace zorvane::test
