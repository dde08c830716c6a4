#include "LargeJpeg.h"
#include "TestPictures.h"
#include "picture/PictureHolder.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::PictureProblem)

namespace {

constexpr QuarterColours quarters{0xffe01010, 0xff10c010, 0xffe0e010, 0xff1010e0};

qint64 peakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

bool near(QRgb actual, QRgb expected)
{
    return qAbs(qRed(actual) - qRed(expected)) <= 12 &&
           qAbs(qGreen(actual) - qGreen(expected)) <= 12 &&
           qAbs(qBlue(actual) - qBlue(expected)) <= 12;
}

void checkQuarters(const QImage& image)
{
    QVERIFY(!image.isNull());
    const int w = image.width();
    const int h = image.height();
    QVERIFY(near(image.pixel(w / 4, h / 4), quarters.topLeft));
    QVERIFY(near(image.pixel(3 * w / 4, h / 4), quarters.topRight));
    QVERIFY(near(image.pixel(w / 4, 3 * h / 4), quarters.bottomLeft));
    QVERIFY(near(image.pixel(3 * w / 4, 3 * h / 4), quarters.bottomRight));
}

qint64 pixelsOf(const QImage& image)
{
    return qint64(image.width()) * image.height();
}

} // namespace

// The JPEGs of phones' 108- and 200-megapixel modes: opened, shown and
// decoded for a sheet at a scale of the decoder's, never held whole.
class TestLargeSensors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sensorJpegDecodesReduced_data();
    void sensorJpegDecodesReduced();
    void limitStaysForWhatIsDecodedWhole_data();
    void limitStaysForWhatIsDecodedWhole();

private:
    QTemporaryDir dir_;
};

void TestLargeSensors::sensorJpegDecodesReduced_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("held"); // the largest eighths within the held limit
    QTest::newRow("108 MP mode") << QSize(12000, 9000) << QSize(7500, 5625);
    QTest::newRow("200 MP mode") << QSize(16320, 12240) << QSize(8160, 6120);
}

void TestLargeSensors::sensorJpegDecodesReduced()
{
    QFETCH(QSize, size);
    QFETCH(QSize, held);
    const QString path = dir_.filePath(u"sensor.jpg"_s);
    QVERIFY(writeLargeJpeg(path, size, quarters));
    const qint64 before = peakMemoryMb();

    PictureProblem why = PictureProblem::None;
    const auto shown = PictureHolder::openForScreen(path, QSize(1600, 1000), &why);
    QVERIFY2(shown, qPrintable(u"refused: %1"_s.arg(int(why))));
    QCOMPARE(shown->size(), size);
    QVERIFY(shown->image().width() <= size.width() / 4);
    checkQuarters(shown->image());

    // What a print holds: the largest of the decoder's scales the program
    // keeps, never the whole picture.
    const QImage full = shown->decodeFull();
    checkQuarters(full);
    QCOMPARE(full.size(), held);
    QVERIFY(pixelsOf(full) <= PictureHolder::maxPixelsHeldOfScaled);

    // A sheet's tickets at print resolution: the smallest scale covering them.
    const QImage tickets = shown->decodeCovering(QSize(2736, 1427));
    QCOMPARE(tickets.size(), QSize(size.width() / 4, size.height() / 4));
    checkQuarters(tickets);

    const qint64 grown = peakMemoryMb() - before;
    QVERIFY2(grown < 400, qPrintable(u"peak grew by %1 MB"_s.arg(grown)));
    QFile::remove(path);
}

void TestLargeSensors::limitStaysForWhatIsDecodedWhole_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<PictureProblem>("problem");
    QTest::newRow("JPEG beyond what is scaled, 300 MP")
        << u"300mp.jpg"_s << PictureProblem::TooLarge;
    QTest::newRow("PNG of 108 MP, decoded only whole")
        << u"108mp.png"_s << PictureProblem::TooLarge;
}

void TestLargeSensors::limitStaysForWhatIsDecodedWhole()
{
    QFETCH(QString, name);
    QFETCH(PictureProblem, problem);
    const QString path = dir_.filePath(name);
    if (name.endsWith(u".jpg"_s)) {
        QVERIFY(writeLargeJpeg(path, QSize(20000, 15000), quarters));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(blankPng(12000, 9000));
    }
    PictureProblem why = PictureProblem::None;
    QVERIFY(!PictureHolder::open(path, &why));
    QCOMPARE(why, problem);
    QFile::remove(path);
}

QTEST_GUILESS_MAIN(TestLargeSensors)
#include "tst_largesensors.moc"
