#include "CupsQueue.h"
#include "PdfProbe.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

// A numbered run of several sheets through the real program and the real
// spooler: one job of as many pages, the picture sent once, and the next
// start stored only after paper.
class TestNumberedCups : public QObject
{
    Q_OBJECT

private:
    QString outputDir_;
    QTemporaryDir dir_;

    QString picture()
    {
        const QString path = dir_.filePath(u"photo.jpg"_s);
        if (!QFile::exists(path)) {
            QImage image(1200, 800, QImage::Format_RGB32);
            image.fill(QColor(200, 220, 240));
            image.save(path, "JPEG", 90);
        }
        return path;
    }

    int runProgram(const QStringList& arguments)
    {
        QProcess zorvane;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_s);
        env.insert(u"XDG_CONFIG_HOME"_s, dir_.filePath(u"config"_s));
        zorvane.setProcessEnvironment(env);
        zorvane.start(QStringLiteral(ZORVANE_EXECUTABLE), arguments);
        if (!zorvane.waitForFinished(120000))
            return -1;
        const QString errors = QString::fromLocal8Bit(zorvane.readAllStandardError());
        if (!errors.isEmpty())
            qWarning("%s", qPrintable(errors));
        return zorvane.exitCode();
    }

    int storedStart()
    {
        SettingsStore store(
            dir_.filePath(u"config/Local AppWizard-Generated Applications/Zorvane.ini"_s));
        return store.GetProfileInt(keys::numberingSection, keys::numbering::start, -1);
    }

private Q_SLOTS:
    void initTestCase()
    {
        outputDir_ = cupsqueue::outputDir();
        const QString missing = cupsqueue::whyUnusable();
        if (missing.isEmpty())
            return;
        if (qEnvironmentVariableIntValue("ZORVANE_REQUIRE_CUPS") == 1)
            QFAIL(qPrintable(missing));
        QSKIP(qPrintable(missing));
    }

    void threeSheetsAreOneJobAndAdvanceTheStart()
    {
        const QSet<QString> before = cupsqueue::pdfsIn(outputDir_);
        QCOMPARE(runProgram({u"--print"_s, u"--picture"_s, picture(), u"--type"_s, u"B"_s,
                             u"--count"_s, u"30"_s, u"--number"_s, u"11"_s, u"--sheets"_s, u"3"_s}),
                 0);
        const QString pdf = cupsqueue::awaitNewPdf(outputDir_, before);
        QVERIFY2(!pdf.isEmpty(), "the queue wrote no PDF");
        QCOMPARE(pdfprobe::pageCount(pdf), 3);
        // The spooled document holds the photo once, however many tickets.
        QCOMPARE(pdfprobe::imageCount(pdf), 1);
        QCOMPARE(storedStart(), 11 + 3 * 30);
        QFile::remove(pdf);
    }

    void aFileDoesNotAdvanceTheStart()
    {
        const int start = storedStart();
        const QString out = dir_.filePath(u"draft.pdf"_s);
        QCOMPARE(
            runProgram({u"--print-to"_s, out, u"--picture"_s, picture(), u"--type"_s, u"B"_s,
                        u"--count"_s, u"30"_s, u"--number"_s, u"500"_s, u"--sheets"_s, u"2"_s}),
            0);
        QCOMPARE(pdfprobe::pageCount(out), 2);
        QCOMPARE(storedStart(), start);
    }
};

QTEST_MAIN(TestNumberedCups)
#include "tst_numberedcups.moc"
