#include "PdfProbe.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace pdfprobe {
namespace {

QByteArray run(const QString& program, const QStringList& arguments, bool* ok = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(120000);
    if (ok)
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return process.readAllStandardOutput();
}

} // namespace

bool toolsAvailable()
{
    return !QStandardPaths::findExecutable(u"pdfinfo"_s).isEmpty() &&
           !QStandardPaths::findExecutable(u"pdftoppm"_s).isEmpty();
}

QSizeF pageSizeMm(const QString& pdfPath)
{
    const QString info = QString::fromUtf8(run(u"pdfinfo"_s, {u"-box"_s, pdfPath}));
    static const QRegularExpression mediaBox(
        uR"(MediaBox:\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+))"_s);
    const QRegularExpressionMatch match = mediaBox.match(info);
    if (!match.hasMatch())
        return {};
    constexpr double mmPerPoint = 25.4 / 72.0;
    const double width = match.captured(3).toDouble() - match.captured(1).toDouble();
    const double height = match.captured(4).toDouble() - match.captured(2).toDouble();
    return QSizeF(width * mmPerPoint, height * mmPerPoint);
}

QImage render(const QString& pdfPath, int dpi)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(u"page"_s);
    bool ok = false;
    run(u"pdftoppm"_s,
        {u"-png"_s, u"-singlefile"_s, u"-r"_s, QString::number(dpi), pdfPath, prefix}, &ok);
    return ok ? QImage(prefix + u".png"_s) : QImage();
}

QString title(const QString& pdfPath)
{
    static const QRegularExpression titleLine(uR"(^Title:\s+(.*)$)"_s,
                                              QRegularExpression::MultilineOption);
    return titleLine.match(info(pdfPath)).captured(1).trimmed();
}

int imageCount(const QString& pdfPath)
{
    const QString list = QString::fromUtf8(run(u"pdfimages"_s, {u"-list"_s, pdfPath}));
    // Two header lines, then one line per use of an image; the object
    // number and generation (columns 11 and 12) tell the images apart.
    QSet<QString> objects;
    const QStringList lines = list.split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QStringList columns = lines[i].split(u' ', Qt::SkipEmptyParts);
        if (columns.size() > 11)
            objects.insert(columns[10] + u' ' + columns[11]);
    }
    return int(objects.size());
}

QStringList imageList(const QString& pdfPath)
{
    bool ok = false;
    const QString list = QString::fromUtf8(run(u"pdfimages"_s, {u"-list"_s, pdfPath}, &ok));
    return ok ? list.split(u'\n', Qt::SkipEmptyParts) : QStringList();
}

QByteArray readerComplaints(const QString& pdfPath)
{
    QProcess process;
    process.start(u"pdfimages"_s, {u"-list"_s, pdfPath});
    if (!process.waitForFinished(120000))
        return "pdfimages did not finish";
    return process.readAllStandardError();
}

void extractImages(const QString& pdfPath, const QString& prefix, int page)
{
    QStringList arguments{u"-j"_s};
    if (page > 0)
        arguments << u"-f"_s << QString::number(page) << u"-l"_s << QString::number(page);
    run(u"pdfimages"_s, arguments << pdfPath << prefix);
}

QString info(const QString& pdfPath)
{
    bool ok = false;
    const QString text =
        QString::fromUtf8(run(u"pdfinfo"_s, {u"-enc"_s, u"UTF-8"_s, pdfPath}, &ok));
    return ok ? text : QString();
}

QList<Word> words(const QString& pdfPath)
{
    QTemporaryDir dir;
    const QString html = dir.filePath(u"words.html"_s);
    bool ok = false;
    run(u"pdftotext"_s, {u"-bbox"_s, pdfPath, html}, &ok);
    QFile file(html);
    if (!ok || !file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.readAll());
    static const QRegularExpression item(
        uR"re(<page |<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re"_s);
    constexpr double mmPerPoint = 25.4 / 72.0;
    QList<Word> found;
    int page = 0;
    for (const QRegularExpressionMatch& match : item.globalMatch(text)) {
        if (match.captured(5).isNull() && match.captured(0).startsWith(u"<page"_s)) {
            ++page;
            continue;
        }
        const QPointF topLeft(match.captured(1).toDouble(), match.captured(2).toDouble());
        const QPointF bottomRight(match.captured(3).toDouble(), match.captured(4).toDouble());
        found.append(
            {page, match.captured(5), QRectF(topLeft * mmPerPoint, bottomRight * mmPerPoint)});
    }
    return found;
}

QStringList fontList(const QString& pdfPath)
{
    bool ok = false;
    const QString list = QString::fromUtf8(run(u"pdffonts"_s, {pdfPath}, &ok));
    return ok ? list.split(u'\n', Qt::SkipEmptyParts) : QStringList();
}

int pageCount(const QString& pdfPath)
{
    static const QRegularExpression pagesLine(uR"(^Pages:\s+(\d+)$)"_s,
                                              QRegularExpression::MultilineOption);
    return pagesLine.match(info(pdfPath)).captured(1).toInt();
}

QImage renderPage(const QString& pdfPath, int page, int dpi)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(u"page"_s);
    bool ok = false;
    const QString number = QString::number(page);
    run(u"pdftoppm"_s,
        {u"-png"_s, u"-singlefile"_s, u"-f"_s, number, u"-l"_s, number, u"-r"_s,
         QString::number(dpi), pdfPath, prefix},
        &ok);
    return ok ? QImage(prefix + u".png"_s) : QImage();
}

} // namespace pdfprobe
