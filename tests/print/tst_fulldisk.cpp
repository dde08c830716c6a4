#include "FakePrintDialog.h"
#include "ShortWrites.h"
#include "StoredJob.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "picture/PictureHolder.h"
#include "print/CheckedSaveFile.h"
#include "print/PrintJob.h"
#include "print/PrinterFileOutput.h"
#include "print/PrinterSettingsBlock.h"
#include "print/PrinterSettingsFile.h"
#include "print/SheetExport.h"
#include "settings/CalibrationStore.h"
#include "settings/JobSettings.h"
#include "settings/SettingsStore.h"
#include "settings/SheetValues.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTest>

using namespace zorvane;
using zorvane::test::readFile;
using zorvane::test::ShortWrites;
using namespace Qt::StringLiterals;

namespace {

enum class Writer
{
    PdfExport,
    PngExport,
    PrinterSettingsFile,
    PrintToPdfFile,
    Store,
    // The store's sections, each written as the window writes it.
    MainSection,
    OptionSection,
    SheetChoices,
    UsedCells,
    Calibration,
};

bool writesASection(Writer writer)
{
    return writer >= Writer::MainSection;
}

MainValues aSheet()
{
    MainValues main;
    main.ticketType = TicketType::A;
    main.paper = PaperKind::A4;
    main.countText = u"4"_s;
    return main;
}

// Writes one section of the store as the window does. The window's event
// loop runs on afterwards, and with it anything the store left pending.
void writeSection(Writer writer, const QString& path)
{
    SettingsStore store(path);
    switch (writer) {
    case Writer::MainSection:
        saveMainValues(store, aSheet());
        break;
    case Writer::OptionSection: {
        OptionValues options;
        options.gapV = 9;
        saveOptionValues(store, options);
        break;
    }
    case Writer::SheetChoices:
        saveSheetChoice(store, PicturePlacement::Fit);
        break;
    case Writer::UsedCells:
        saveUsedCells(store, PaperKind::A4, {579, 302}, false, {{0, 1}, {2, 3}});
        break;
    case Writer::Calibration:
        savePrinterCorrection(store, u"ZorvanePDF"_s, {{990'000, 300}, {1'010'000, -200}});
        break;
    default:
        break;
    }
    QCoreApplication::sendPostedEvents();
}

// Writes one file with the writer; true when it reports success.
bool write(Writer writer, const QString& path, const QString& storePath)
{
    SettingsStore defaults(storePath + u".defaults"_s);
    // Noise does not compress, so every file is larger than the room left.
    const auto picture =
        PictureHolder::fromImage(zorvane::test::incompressibleImage(QSize(200, 150), 12345));
    switch (writer) {
    case Writer::PdfExport:
        return exportSheet(path, SheetFileFormat::Pdf, 150, storedJob(defaults, aSheet()),
                           picture.get()) == SheetExportResult::Written;
    case Writer::PngExport:
        return exportSheet(path, SheetFileFormat::Png, 100, storedJob(defaults, aSheet()),
                           picture.get()) == SheetExportResult::Written;
    case Writer::PrinterSettingsFile: {
        PrinterSettingsBlock block;
        block.setDriverExtra(QByteArray(PrinterSettingsBlock::driverExtraCapacity, 'x'));
        return SavePrinterSettingsFile(block, path);
    }
    case Writer::PrintToPdfFile: {
        test::FakePrintDialog dialog(path);
        QStringList messages;
        PrintJob job(
            dialog, [&](const QString& text) { messages.append(text); }, QString());
        job.setDefaultsSource([](std::optional<PrinterSettingsBlock>& settings) {
            settings.emplace();
            return true;
        });
        std::optional<PrinterSettingsBlock> settings;
        const auto outcome = job.run(storedJob(defaults, aSheet()), picture.get(), settings);
        return outcome == PrintJob::Outcome::Printed && job.outputFile() == path;
    }
    case Writer::Store: {
        SettingsStore store(path);
        store.WriteProfileString("Main", "Text", QString(64 * 1024, u'z'));
        store.sync();
        return store.GetProfileString("Main", "Text", QString()).size() == 64 * 1024;
    }
    case Writer::MainSection:
    case Writer::OptionSection:
    case Writer::SheetChoices:
    case Writer::UsedCells:
    case Writer::Calibration:
        writeSection(writer, path);
        return true; // the store fails without a word
    }
    return false;
}

// What the file held before the write.
QByteArray previousContents(Writer writer)
{
    if (writer == Writer::Store)
        return "[Main]\nSheetCount=7\n";
    // Just under the room a nearly full disk leaves: the previous store
    // fits back in, the store with a section's few keys more does not.
    if (writesASection(writer)) {
        const QByteArray head = "[Main]\nSheetCount=7\n\n[Notes]\nText=";
        return head + QByteArray(8180 - head.size() - 1, 'z') + '\n';
    }
    return QByteArray("previous contents\n").repeated(20);
}

// The files in a directory but the tmpfs filler: no temporary file may stay.
QStringList filesIn(const QString& dir)
{
    QStringList files = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    files.removeAll(u".filler"_s);
    return files;
}

} // namespace

Q_DECLARE_METATYPE(Writer)

// Every file the program writes is replaced only once it is whole: on a
// disk that fills up while writing, or one already full, the previous file
// survives byte for byte.
class TestFullDisk : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void previousFileSurvives_data();
    void previousFileSurvives();
    void writesWhenThereIsRoom_data();
    void writesWhenThereIsRoom();
    void unsavedSettingsFileIsReported();
    void completePdf_data();
    void completePdf();
};

void TestFullDisk::previousFileSurvives_data()
{
    QTest::addColumn<Writer>("writer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("room");

    const struct
    {
        const char* label;
        Writer writer;
        QString name;
    } writers[] = {
        {"pdf export", Writer::PdfExport, u"sheet.pdf"_s},
        {"png export", Writer::PngExport, u"sheet.png"_s},
        {"printer settings file", Writer::PrinterSettingsFile, u"devmode.zvn"_s},
        {"print to a pdf file", Writer::PrintToPdfFile, u"printed.pdf"_s},
        {"store", Writer::Store, u"Zorvane.ini"_s},
        {"store section Main", Writer::MainSection, u"Zorvane.ini"_s},
        {"store section Option", Writer::OptionSection, u"Zorvane.ini"_s},
        {"store section Sheet, choices", Writer::SheetChoices, u"Zorvane.ini"_s},
        {"store section Sheet, used cells", Writer::UsedCells, u"Zorvane.ini"_s},
        {"store section Calibration", Writer::Calibration, u"Zorvane.ini"_s},
    };
    for (const auto& w : writers) {
        // The printer settings record is smaller than one page of a tmpfs.
        if (w.writer != Writer::PrinterSettingsFile)
            QTest::addRow("%s, nearly full", w.label) << w.writer << w.name << qint64(8192);
        QTest::addRow("%s, full", w.label) << w.writer << w.name << qint64(0);
    }
}

void TestFullDisk::previousFileSurvives()
{
    QFETCH(Writer, writer);
    QFETCH(QString, name);
    QFETCH(qint64, room);

    ShortWrites place;
    QVERIFY(place.isValid());
    const QString path = place.filePath(name);
    const QByteArray previous = previousContents(writer);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(previous), previous.size());
    }
    const QString defaultsPath = QDir::temp().filePath(u"zorvane-fulldisk-defaults.ini"_s);
    place.leaveRoom(room);
    bool written = false;
    {
        const ShortWrites::Scope limited(place);
        written = write(writer, path, defaultsPath);
    }
    if (writer != Writer::Store && !writesASection(writer)) // the store fails without a word
        QVERIFY(!written);
    QCOMPARE(readFile(path), previous);
    QCOMPARE(filesIn(QFileInfo(path).absolutePath()), QStringList{name});
}

void TestFullDisk::writesWhenThereIsRoom_data()
{
    QTest::addColumn<Writer>("writer");
    QTest::addColumn<QString>("name");
    QTest::newRow("pdf export") << Writer::PdfExport << u"sheet.pdf"_s;
    QTest::newRow("png export") << Writer::PngExport << u"sheet.png"_s;
    QTest::newRow("printer settings file") << Writer::PrinterSettingsFile << u"devmode.zvn"_s;
    QTest::newRow("print to a pdf file") << Writer::PrintToPdfFile << u"printed.pdf"_s;
}

// The same writers on a disk with room replace the previous file.
void TestFullDisk::writesWhenThereIsRoom()
{
    QFETCH(Writer, writer);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QVERIFY(writeFileCompletely(path, "previous"));
    QVERIFY(write(writer, path, dir.filePath(u"defaults.ini"_s)));
    const QByteArray now = readFile(path);
    QVERIFY(now.size() > 100);
    if (name.endsWith(u".pdf"_s))
        QVERIFY(isCompletePdf(now));
    QStringList files = filesIn(dir.path());
    files.removeAll(u"defaults.ini"_s);
    QCOMPARE(files, QStringList{name});
}

// The window keeps the printer settings after a print; when they cannot be
// saved the user is told, and the previous file stays.
void TestFullDisk::unsavedSettingsFileIsReported()
{
    ShortWrites place;
    QVERIFY(place.isValid());
    if (!place.onTmpfs())
        QSKIP("a file size limit would stop the printed file too; this needs a full tmpfs");
    const QString settingsFile = place.filePath(u"devmode.zvn"_s);
    const QByteArray previous = QByteArray("previous record").repeated(10);
    QVERIFY(writeFileCompletely(settingsFile, previous));
    QTemporaryDir elsewhere;
    const QString pdf = elsewhere.filePath(u"printed.pdf"_s);

    test::FakePrintDialog dialog(pdf);
    QStringList messages;
    PrintJob job(
        dialog, [&](const QString& text) { messages.append(text); }, settingsFile);
    job.setDefaultsSource([](std::optional<PrinterSettingsBlock>& settings) {
        settings.emplace();
        return true;
    });
    std::optional<PrinterSettingsBlock> settings;
    const SettingsStore store(elsewhere.filePath(u"store.ini"_s));
    place.leaveRoom(0);
    PrintJob::Outcome outcome;
    {
        const ShortWrites::Scope limited(place);
        outcome = job.run(storedJob(store, aSheet()), nullptr, settings);
    }
    QCOMPARE(outcome, PrintJob::Outcome::Printed); // the sheet itself is printed
    QVERIFY(isCompletePdf(readFile(pdf)));
    QCOMPARE(messages, QStringList{QString::fromUtf16(printMessages::cannotSaveSettingsFile)});
    QCOMPARE(readFile(settingsFile), previous);
}

void TestFullDisk::completePdf_data()
{
    QTest::addColumn<QByteArray>("pdf");
    QTest::addColumn<bool>("complete");

    QPrinter printer;
    QTemporaryDir dir;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(u"a.pdf"_s));
    {
        QPainter painter(&printer);
        painter.drawText(100, 100, u"sheet"_s);
    }
    const QByteArray whole = readFile(dir.filePath(u"a.pdf"_s));
    QTest::newRow("whole") << whole << true;
    QTest::newRow("end cut off") << whole.left(whole.size() - 10) << false;
    QTest::newRow("a block missing in the middle") << whole.left(200) + whole.mid(400) << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("only an end marker") << QByteArray("%%EOF\n") << false;
}

void TestFullDisk::completePdf()
{
    QFETCH(QByteArray, pdf);
    QFETCH(bool, complete);
    QCOMPARE(isCompletePdf(pdf), complete);
}

QTEST_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
