#include "CupsQueue.h"

#include "PdfProbe.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPrinterInfo>
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

} // namespace cupsqueue
