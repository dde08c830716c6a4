#include "ColourCheck.h"
#include "HeifFiles.h"
#include "ProfiledFiles.h"
#include "ShortWrites.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "print/PrinterFileOutput.h"
#include "print/PrinterRecord.h"
#include "print/PrinterSettingsFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace zorvane;
using zorvane::test::readFile;
using zorvane::test::ShortWrites;
using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int status = -1; // -1: did not end in time, or crashed
    QByteArray out;
    QByteArray err;
};

// A sheet that fits whatever the store holds.
const QStringList aSheet{u"--type"_s, u"A"_s, u"--paper"_s, u"A4"_s, u"--count"_s, u"2"_s};

} // namespace

// The program run as a user or a script would, without a display, against
// hostile surroundings: a store that is no file, options in other
// spellings, full disks, a printer settings file that names a file to
// print to, and pictures the image libraries complain about.
class TestHostileInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void storeThatIsNoFile_data();
    void storeThatIsNoFile();
    void singleDashOptions_data();
    void singleDashOptions();
    void fullDiskKeepsThePreviousFile_data();
    void fullDiskKeepsThePreviousFile();
    void settingsFileNamesTheOutput_data();
    void settingsFileNamesTheOutput();
    void refusedPictureIsOneLine_data();
    void refusedPictureIsOneLine();
    void unusableProfileIsOneLine_data();
    void unusableProfileIsOneLine();

private:
    Run zorvane(const QStringList& arguments, const ShortWrites* place = nullptr);

    std::unique_ptr<QTemporaryDir> dir_;
    bool withoutScheduler_ = false; // the program finds no CUPS scheduler
    QString executable_;
    QString storePath_;
    QString picture_;
};

void TestHostileInput::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    withoutScheduler_ = false;
    // A copy of its own, so the printer settings file kept beside the
    // executable is this test's.
    QVERIFY(QDir().mkpath(dir_->filePath(u"bin"_s)));
    executable_ = dir_->filePath(u"bin/Zorvane"_s);
    QVERIFY(QFile::copy(QStringLiteral(ZORVANE_EXECUTABLE), executable_));
    storePath_ = dir_->filePath(u"config/Local AppWizard-Generated Applications/Zorvane.ini"_s);
    QVERIFY(QDir().mkpath(QFileInfo(storePath_).absolutePath()));
    picture_ = dir_->filePath(u"picture.png"_s);
    // Noise does not compress, so every sheet is larger than the room left
    // on a nearly full disk.
    QVERIFY(test::incompressibleImage(QSize(200, 150), 99).save(picture_));
}

Run TestHostileInput::zorvane(const QStringList& arguments, const ShortWrites* place)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
        env.remove(name);
    env.insert(u"XDG_CONFIG_HOME"_s, dir_->filePath(u"config"_s));
    // The CUPS client then looks for its scheduler where none listens,
    // while the machine's own keeps serving everyone else.
    if (withoutScheduler_)
        env.insert(u"CUPS_SERVER"_s, dir_->filePath(u"no-scheduler.sock"_s));
    process.setProcessEnvironment(env);
    if (place)
        place->applyTo(process);
    process.start(executable_, arguments);
    Run run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

void TestHostileInput::storeThatIsNoFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("print");
    for (const QString& kind : {u"fifo"_s, u"device"_s, u"directory"_s}) {
        QTest::addRow("%s, help", qPrintable(kind)) << kind << false;
        QTest::addRow("%s, print", qPrintable(kind)) << kind << true;
    }
}

// Opening a FIFO blocks until someone writes to it, and a device never
// ends: such a store is not opened at all, and the run goes on with the
// defaults.
void TestHostileInput::storeThatIsNoFile()
{
    QFETCH(QString, kind);
    QFETCH(bool, print);
    const QByteArray path = QFile::encodeName(storePath_);
    if (kind == u"fifo")
        QCOMPARE(::mkfifo(path.constData(), 0600), 0);
    else if (kind == u"device")
        QVERIFY(QFile::link(u"/dev/zero"_s, storePath_));
    else
        QVERIFY(QDir().mkpath(storePath_));

    if (!print) {
        const Run run = zorvane({u"--help"_s});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.contains("--print-to"));
        QCOMPARE(run.err, QByteArray());
        return;
    }
    const QString png = dir_->filePath(u"sheet.png"_s);
    const Run run = zorvane(
        QStringList{u"--print-to"_s, png, u"--picture"_s, picture_, u"--dpi"_s, u"50"_s} + aSheet);
    QCOMPARE(run.status, 0);
    QVERIFY(!QImage(png).isNull());
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY(run.err.startsWith("Zorvane: "));
    QVERIFY2(run.err.contains("Zorvane.ini"), run.err.constData());
}

void TestHostileInput::singleDashOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");

    QTest::newRow("help") << QStringList{u"-help"_s} << 0;
    QTest::newRow("print to a file")
        << QStringList{u"-print-to"_s, u"@DIR@/s.png"_s, u"-picture"_s, u"@PIC@"_s,
                       u"-dpi"_s,      u"50"_s,          u"-type"_s,    u"A"_s,
                       u"-count"_s,    u"2"_s,           u"-paper"_s,   u"A4"_s}
        << 0;
    QTest::newRow("mixed spellings")
        << QStringList{u"--print-to"_s, u"@DIR@/s.png"_s, u"-picture"_s, u"@PIC@"_s,
                       u"-dpi=50"_s,    u"--type=A"_s,    u"-count"_s,   u"2"_s}
        << 0;
    QTest::newRow("unknown single-dash option") << QStringList{u"-colour"_s, u"red"_s} << 2;
    QTest::newRow("value missing") << QStringList{u"-print-to"_s} << 2;
    QTest::newRow("ours with Qt's") << QStringList{u"-print-to"_s, u"@DIR@/s.png"_s, u"-picture"_s,
                                                   u"@PIC@"_s,     u"-platform"_s,   u"xcb"_s}
                                    << 2;
}

// Every spelling the parser takes asks for a run without a window; with no
// display a window would hang or abort.
void TestHostileInput::singleDashOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    arguments.replaceInStrings(u"@DIR@"_s, dir_->path());
    arguments.replaceInStrings(u"@PIC@"_s, picture_);
    const Run run = zorvane(arguments);
    QCOMPARE(run.status, status);
    if (status == 0 && arguments.size() > 1)
        QVERIFY(!QImage(dir_->filePath(u"s.png"_s)).isNull());
    if (status != 0) {
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY(run.err.startsWith("Zorvane: "));
    }
}

void TestHostileInput::fullDiskKeepsThePreviousFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("room");
    QTest::newRow("pdf, nearly full") << u"x.pdf"_s << qint64(8192);
    QTest::newRow("pdf, full") << u"x.pdf"_s << qint64(0);
    QTest::newRow("png, nearly full") << u"x.png"_s << qint64(8192);
    QTest::newRow("png, full") << u"x.png"_s << qint64(0);
}

void TestHostileInput::fullDiskKeepsThePreviousFile()
{
    QFETCH(QString, name);
    QFETCH(qint64, room);
    ShortWrites place;
    QVERIFY(place.isValid());
    const QString target = place.filePath(name);
    // A good previous file, from a run with room to spare.
    Run run = zorvane(
        QStringList{u"--print-to"_s, target, u"--picture"_s, picture_, u"--dpi"_s, u"30"_s} +
        aSheet);
    QCOMPARE(run.status, 0);
    const QByteArray previous = readFile(target);
    QVERIFY(previous.size() > 0);

    place.leaveRoom(room);
    run = zorvane(
        QStringList{u"--print-to"_s, target, u"--picture"_s, picture_, u"--dpi"_s, u"300"_s} +
            aSheet,
        &place);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.err, "Zorvane: cannot write '" + QFile::encodeName(target) + "'\n");
    QCOMPARE(readFile(target), previous);
}

void TestHostileInput::settingsFileNamesTheOutput_data()
{
    QTest::addColumn<qint64>("room"); // -1: plenty; -2: the directory is missing
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("withoutScheduler");
    // Writing a file needs no printer, so whether a scheduler runs makes
    // no difference.
    for (const bool without : {false, true}) {
        const char* scheduler = without ? "no scheduler" : "the machine's scheduler";
        QTest::addRow("room to spare, %s", scheduler) << qint64(-1) << 0 << without;
        QTest::addRow("nearly full, %s", scheduler) << qint64(8192) << 2 << without;
        QTest::addRow("full, %s", scheduler) << qint64(0) << 2 << without;
        QTest::addRow("no such directory, %s", scheduler) << qint64(-2) << 2 << without;
    }
}

// A printer settings file may name a file to print to (the window keeps a
// print to a file that way). --print then writes that file as --print-to
// would: whole or not at all, and a failure names it.
void TestHostileInput::settingsFileNamesTheOutput()
{
    QFETCH(qint64, room);
    QFETCH(int, status);
    QFETCH(bool, withoutScheduler);
    withoutScheduler_ = withoutScheduler;
    ShortWrites place;
    QVERIFY(place.isValid());
    const bool missingDirectory = room == -2;
    const QString target =
        place.filePath(missingDirectory ? u"gone/printed.pdf"_s : u"printed.pdf"_s);
    const QByteArray previous("previous contents\n");
    if (!missingDirectory) {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(previous);
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(target);
    QVERIFY(SavePrinterSettingsFile(PrinterRecord::fromPrinter(printer),
                                    dir_->filePath(u"bin/devmode.zvn"_s)));

    if (room >= 0)
        place.leaveRoom(room);
    const Run run = zorvane(QStringList{u"--print"_s, u"--picture"_s, picture_} + aSheet, &place);
    QCOMPARE(run.status, status);
    if (status == 0) {
        QCOMPARE(run.err, QByteArray());
        QVERIFY(isCompletePdf(readFile(target)));
    } else {
        QCOMPARE(run.err, "Zorvane: cannot write '" + QFile::encodeName(target) + "'\n");
        QCOMPARE(readFile(target), missingDirectory ? QByteArray() : previous);
    }
    if (!missingDirectory)
        QCOMPARE(QDir(QFileInfo(target).absolutePath()).entryList({u"printed.pdf*"_s}, QDir::Files),
                 QStringList{u"printed.pdf"_s});
}

void TestHostileInput::refusedPictureIsOneLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");

    QByteArray png;
    {
        QImage image(16, 12, QImage::Format_RGB32);
        image.fill(Qt::red);
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    png[8 + 8] = 0x7F; // a width over libpng's limit
    QTest::newRow("png") << u"bad.png"_s << png;
    QByteArray tiff;
    {
        QImage image(16, 12, QImage::Format_RGB32);
        image.fill(Qt::red);
        QBuffer buffer(&tiff);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "TIFF");
    }
    QTest::newRow("tiff") << u"bad.tif"_s << tiff.left(tiff.size() / 2);
}

// The libraries' own complaints stay off standard error unless asked for.
void TestHostileInput::refusedPictureIsOneLine()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const QString path = dir_->filePath(name);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    const Run run = zorvane(
        QStringList{u"--print-to"_s, dir_->filePath(u"s.png"_s), u"--picture"_s, path} + aSheet);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.err, "Zorvane: cannot read the picture '" + QFile::encodeName(path) + "'\n");
}

void TestHostileInput::unusableProfileIsOneLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("reported");

    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(qRgb(40, 160, 60));
    const QByteArray adobe = test::profiles::adobeRgb();
    QTest::newRow("jpeg, profile cut short")
        << u"cut.jpg"_s << test::jpegWithProfile(image, adobe.left(4000)) << true;
    QTest::newRow("png, press profile on RGB")
        << u"cmyk.png"_s
        << test::pngWithChunks(image, {test::iccpChunk(test::profiles::swopCmyk())}) << true;
    QTest::newRow("heic, press profile on RGB")
        << u"cmyk.heic"_s << test::heifFromApi(image, {}, test::profiles::swopCmyk()) << true;
    QTest::newRow("jpeg, Adobe RGB")
        << u"adobe.jpg"_s << test::jpegWithProfile(image, adobe) << false;
}

// Printed all the same, as sRGB, with one line that says so; a usable
// profile says nothing.
void TestHostileInput::unusableProfileIsOneLine()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, reported);
    const QString path = dir_->filePath(name);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    const QString output = dir_->filePath(u"s.png"_s);
    const Run run = zorvane(QStringList{u"--print-to"_s, output, u"--picture"_s, path} + aSheet);
    QCOMPARE(run.status, 0);
    QVERIFY(QFileInfo(output).size() > 0);
    const QByteArray line = "Zorvane: the colour profile of '" + QFile::encodeName(path) +
                            "' cannot be used; its colours are taken as sRGB\n";
    QCOMPARE(run.err, reported ? line : QByteArray());
}

QTEST_MAIN(TestHostileInput)
#include "tst_hostileinput.moc"
