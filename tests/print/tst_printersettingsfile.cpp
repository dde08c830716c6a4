#include "TestFiles.h"
#include "print/DeviceModeLayout.h"
#include "print/PrinterSettingsBlock.h"
#include "print/PrinterSettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace zorvane;
using zorvane::test::readFile;
using zorvane::test::writeFile;
using namespace Qt::StringLiterals;

namespace {

// What the default printer's record looks like in these tests.
PrinterSettingsBlock defaultRecord()
{
    PrinterSettingsBlock block;
    block.writeText(devmode::deviceName, devmode::nameWidth, "Default printer");
    block.writeU32(devmode::fields, 0x1234);
    block.writeI16(devmode::copies, 2);
    block.setDriverExtra("printer=Default printer\nformat=native\n");
    return block;
}

} // namespace

class TestPrinterSettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void liesBesideTheExecutable();
    void liesBesideTheStoreWhenTheExecutableDirCannotBeWritten();
    void installedProgramKeepsItBesideTheStore_data();
    void installedProgramKeepsItBesideTheStore();
    void load_data();
    void load();
    void missingFileChangesNothing();
    void saveWritesExactlyTheRecord();
    void saveOfAShorterRecordWritesOnlyIt();
    void savedRecordLoadsBack();
    void failedSaveReportsAndKeepsTheOldFile();
    void randomFilesNeverBreakTheBlock();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;
};

void TestPrinterSettingsFile::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    path_ = dir_->filePath(u"devmode.zvn"_s);
}

void TestPrinterSettingsFile::liesBesideTheExecutable()
{
    const QString store = dir_->filePath(u"config/Zorvane.ini"_s);
    QCOMPARE(printerSettingsFilePath(dir_->path(), store), dir_->filePath(u"devmode.zvn"_s));
    // The running program's own directory, not the current directory.
    QDir::setCurrent(QDir::tempPath());
    QCOMPARE(QFileInfo(printerSettingsFilePath(store)).absolutePath(),
             QCoreApplication::applicationDirPath());
}

void TestPrinterSettingsFile::liesBesideTheStoreWhenTheExecutableDirCannotBeWritten()
{
    const QString store = dir_->filePath(u"config/Zorvane.ini"_s);
    const QString expected = dir_->filePath(u"config/devmode.zvn"_s);
    QCOMPARE(printerSettingsFilePath(dir_->filePath(u"no-such-dir"_s), store), expected);

    const QString readOnly = dir_->filePath(u"bin"_s);
    QVERIFY(QDir().mkpath(readOnly));
    QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
    if (QFileInfo(readOnly).isWritable())
        QSKIP("permissions do not bind this user (root)");
    QCOMPARE(printerSettingsFilePath(readOnly, store), expected);
}

void TestPrinterSettingsFile::installedProgramKeepsItBesideTheStore_data()
{
    QTest::addColumn<QString>("executableDir");
    QTest::newRow("/usr/bin") << u"/usr/bin"_s;
    QTest::newRow("/usr/local/bin") << u"/usr/local/bin"_s;
    QTest::newRow("/usr/bin by a detour") << u"/usr/share/../bin"_s;
}

// Root may write /usr/bin, and a package's program must still not leave a
// file there.
void TestPrinterSettingsFile::installedProgramKeepsItBesideTheStore()
{
    QFETCH(QString, executableDir);
    if (!QFileInfo(executableDir).isDir())
        QSKIP("no such directory here");
    const QString store = dir_->filePath(u"config/Zorvane.ini"_s);
    QCOMPARE(printerSettingsFilePath(executableDir, store),
             dir_->filePath(u"config/devmode.zvn"_s));
}

void TestPrinterSettingsFile::load_data()
{
    QTest::addColumn<QByteArray>("fileBytes");
    QTest::addColumn<bool>("overlays");

    const int size = PrinterSettingsBlock::blockSize;
    QByteArray otherPrinter = defaultRecord().record();
    otherPrinter.replace(0, 14, QByteArray("Other printer\0", 14));
    QByteArray shorter(124, 's');
    qToLittleEndian<quint16>(76, shorter.data() + devmode::size);
    qToLittleEndian<quint16>(48, shorter.data() + devmode::driverExtra);
    QByteArray claimsMore(60, 'c');
    qToLittleEndian<quint16>(156, claimsMore.data() + devmode::size);
    qToLittleEndian<quint16>(quint16(size), claimsMore.data() + devmode::driverExtra);

    QTest::newRow("0 bytes: nothing changes") << QByteArray() << true;
    QTest::newRow("3 bytes replace the name's start") << QByteArray("XYZ") << true;
    QTest::newRow("another printer's record") << otherPrinter << true;
    QTest::newRow("a shorter record") << shorter << true;
    QTest::newRow("longer than the block") << QByteArray(size + 10, 'L') << false;
    QTest::newRow("sizes claim more than the block") << claimsMore << false;
}

void TestPrinterSettingsFile::load()
{
    QFETCH(QByteArray, fileBytes);
    QFETCH(bool, overlays);

    QVERIFY(writeFile(path_, fileBytes));
    const PrinterSettingsBlock defaults = defaultRecord();
    PrinterSettingsBlock block = defaults;
    LoadPrinterSettingsFile(block, path_);

    const QByteArray before = defaults.bytes().toByteArray();
    const QByteArray after = block.bytes().toByteArray();
    if (overlays) {
        QCOMPARE(after.first(fileBytes.size()), fileBytes);
        QCOMPARE(after.sliced(fileBytes.size()), before.sliced(fileBytes.size()));
    } else {
        QCOMPARE(after, before);
    }
    QVERIFY(block.recordLength() <= block.size());
}

void TestPrinterSettingsFile::missingFileChangesNothing()
{
    PrinterSettingsBlock block = defaultRecord();
    LoadPrinterSettingsFile(block, path_);
    QCOMPARE(block.bytes(), defaultRecord().bytes());
    QVERIFY(!QFile::exists(path_));
}

void TestPrinterSettingsFile::saveWritesExactlyTheRecord()
{
    const PrinterSettingsBlock block = defaultRecord();
    QVERIFY(SavePrinterSettingsFile(block, path_));
    const QByteArray written = readFile(path_);
    QCOMPARE(written.size(), block.dmSize() + block.dmDriverExtra());
    QCOMPARE(written, block.bytes().first(written.size()).toByteArray());
}

void TestPrinterSettingsFile::saveOfAShorterRecordWritesOnlyIt()
{
    PrinterSettingsBlock block = defaultRecord();
    QByteArray shorter(124, 's');
    qToLittleEndian<quint16>(76, shorter.data() + devmode::size);
    qToLittleEndian<quint16>(48, shorter.data() + devmode::driverExtra);
    QVERIFY(block.overlay(shorter));

    QVERIFY(writeFile(path_, QByteArray(3000, 'o'))); // an older, longer file is replaced
    QVERIFY(SavePrinterSettingsFile(block, path_));
    QCOMPARE(readFile(path_), shorter);
}

void TestPrinterSettingsFile::savedRecordLoadsBack()
{
    PrinterSettingsBlock chosen = defaultRecord();
    chosen.writeText(devmode::deviceName, devmode::nameWidth, "Printer in room 2");
    chosen.writeI16(devmode::orientation, devmode::landscape);
    QVERIFY(SavePrinterSettingsFile(chosen, path_));

    PrinterSettingsBlock nextRun;
    LoadPrinterSettingsFile(nextRun, path_);
    QCOMPARE(nextRun.bytes(), chosen.bytes());
}

void TestPrinterSettingsFile::failedSaveReportsAndKeepsTheOldFile()
{
    QVERIFY(writeFile(path_, "old"));
    // The target's directory is a plain file, so nothing can be created there.
    const QString blocked = path_ + u"/devmode.zvn"_s;
    QVERIFY(!SavePrinterSettingsFile(defaultRecord(), blocked));
    QCOMPARE(readFile(path_), QByteArray("old"));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{u"devmode.zvn"_s});
}

void TestPrinterSettingsFile::randomFilesNeverBreakTheBlock()
{
    QRandomGenerator random(4242);
    const PrinterSettingsBlock defaults = defaultRecord();
    const int size = defaults.size();
    for (int length = 0; length <= 2 * size; ++length) {
        QByteArray bytes(length, '\0');
        for (char& byte : bytes)
            byte = char(random.bounded(256));
        // Every so often the sizes claim a record that just fits, to reach
        // the path where the file is taken.
        if (length >= 40 && random.bounded(2) == 0) {
            const quint16 publicPart = quint16(random.bounded(size + 1));
            qToLittleEndian<quint16>(publicPart, bytes.data() + devmode::size);
            qToLittleEndian<quint16>(quint16(random.bounded(size - publicPart + 1)),
                                     bytes.data() + devmode::driverExtra);
        }
        QVERIFY(writeFile(path_, bytes));

        PrinterSettingsBlock block = defaults;
        LoadPrinterSettingsFile(block, path_);
        QCOMPARE(block.size(), size);
        QVERIFY2(block.recordLength() <= size, qPrintable(QString::number(length)));
        const bool taken = block.bytes() != defaults.bytes();
        if (taken) {
            QVERIFY(length <= size);
            QCOMPARE(block.bytes().first(length), QByteArrayView(bytes));
        }
        if (length % 16 == 0) { // saving syncs to disk, so only now and then
            QVERIFY(SavePrinterSettingsFile(block, path_));
            QCOMPARE(readFile(path_).size(), block.recordLength());
        }
    }
}

QTEST_GUILESS_MAIN(TestPrinterSettingsFile)
#include "tst_printersettingsfile.moc"
