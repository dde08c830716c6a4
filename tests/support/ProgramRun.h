#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace zorvane::test {

struct ProgramRun
{
    int status = -1; // -1 when the program did not finish normally
    QString out;
    QString err;
};

// Runs a program as a script would, without a display: the system's
// environment with the display variables removed and the given variables
// added. Gives up after two minutes.
ProgramRun runWithoutDisplay(const QString& program, const QStringList& arguments,
                             const QProcessEnvironment& variables);

} // namespace zorvane::test
