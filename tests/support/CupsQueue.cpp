#include "CupsQueue.h"

#include "PdfProbe.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

using namespace Qt::StringLiterals;

namespace cupsqueue {

QString outputDir()
{
    const QString given = qEnvironmentVariable("ZORVANE_CUPS_PDF_DIR");
    if (!given.isEmpty())
        return given;
    QFile conf(u"/etc/cups/cups-pdf.conf"_s);
    if (!conf.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression outLine(u"^Out\\s+(\\S+)\\s*$"_s,
                                            QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = outLine.match(QString::fromUtf8(conf.readAll()));
    if (!match.hasMatch())
        return {};
    QString dir = match.captured(1);
    dir.replace(u"${HOME}"_s, QDir::homePath());
    dir.replace(u"${USER}"_s, qEnvironmentVariable("USER", u"root"_s));
    return dir;
}

QString whyUnusable()
{
    const QString dir = outputDir();
    if (QPrinterInfo::defaultPrinterName().isEmpty())
        return u"no default printer (run scripts/cups-test-queue.sh as root)"_s;
    if (dir.isEmpty() || !QDir(dir).exists())
        return u"no PDF queue output directory"_s;
    if (!pdfprobe::toolsAvailable())
        return u"poppler tools (pdfinfo, pdftoppm) are not installed"_s;
    return {};
}

QSet<QString> pdfsIn(const QString& dir)
{
    const QStringList names = QDir(dir).entryList({u"*.pdf"_s}, QDir::Files);
    return QSet<QString>(names.begin(), names.end());
}

QString awaitNewPdf(const QString& dir, const QSet<QString>& before)
{
    const QDateTime deadline = QDateTime::currentDateTime().addSecs(90);
    while (QDateTime::currentDateTime() < deadline) {
        for (const QString& name : pdfsIn(dir) - before) {
            const QString path = QDir(dir).filePath(name);
            if (!pdfprobe::pageSizeMm(path).isEmpty())
                return path;
        }
        QThread::msleep(250);
    }
    return {};
}

namespace {

QString accessLogPath()
{
    const QString given = qEnvironmentVariable("ZORVANE_CUPS_ACCESS_LOG");
    return given.isEmpty() ? u"/var/log/cups/access_log"_s : given;
}

// lpstat's job lines: "<queue>-<id> <owner> <size> <date>".
QMap<QString, QString> jobsListed(const QStringList& arguments)
{
    QProcess lpstat;
    lpstat.start(u"lpstat"_s, arguments);
    QMap<QString, QString> owners;
    if (!lpstat.waitForFinished(30000))
        return owners;
    const QString out = QString::fromLocal8Bit(lpstat.readAllStandardOutput());
    for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        if (fields.size() >= 2)
            owners.insert(fields[0], fields[1]);
    }
    return owners;
}

} // namespace

bool accessLogReadable()
{
    QFile log(accessLogPath());
    return log.open(QIODevice::ReadOnly);
}

qint64 accessLogEnd()
{
    return QFileInfo(accessLogPath()).size();
}

int createJobsLoggedSince(qint64 end)
{
    QFile log(accessLogPath());
    if (!log.open(QIODevice::ReadOnly))
        return -1;
    // The scheduler starts a new log when the old one grows too large.
    if (log.size() >= end)
        log.seek(end);
    int count = 0;
    while (!log.atEnd()) {
        if (log.readLine().contains(" Create-Job "))
            ++count;
    }
    return count;
}

QMap<QString, QString> jobOwners()
{
    return jobsListed({u"-W"_s, u"all"_s, u"-o"_s});
}

bool hasUnfinishedJobs(const QString& owner)
{
    const QMap<QString, QString> owners = jobsListed({u"-W"_s, u"not-completed"_s, u"-o"_s});
    return std::find(owners.cbegin(), owners.cend(), owner) != owners.cend();
}

} // namespace cupsqueue
