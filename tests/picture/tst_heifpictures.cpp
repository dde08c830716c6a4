#include "ColourCheck.h"
#include "HeifFiles.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "picture/PictureHolder.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::PictureProblem)
Q_DECLARE_METATYPE(zorvane::test::HeifKind)

namespace {

constexpr QuarterColours quarters{0xffe01010, 0xff10c010, 0xffe0e010, 0xff1010e0};

QImage quartered(QSize size)
{
    return quarteredImage(size.width(), size.height(), quarters);
}

// The colour at the middle of each quarter, against the picture's own.
void checkQuarters(const QImage& image)
{
    QVERIFY(!image.isNull());
    const int w = image.width();
    const int h = image.height();
    QVERIFY2(closeColour(image.pixel(w / 4, h / 4), quarters.topLeft), "top left");
    QVERIFY2(closeColour(image.pixel(3 * w / 4, h / 4), quarters.topRight), "top right");
    QVERIFY2(closeColour(image.pixel(w / 4, 3 * h / 4), quarters.bottomLeft), "bottom left");
    QVERIFY2(closeColour(image.pixel(3 * w / 4, 3 * h / 4), quarters.bottomRight), "bottom right");
}

} // namespace

class TestHeifPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadsPictures_data();
    void loadsPictures();
    void appliesOrientation_data();
    void appliesOrientation();
    void showsThumbnailFirst_data();
    void showsThumbnailFirst();
    void convertsColourToSrgb_data();
    void convertsColourToSrgb();
    void refusesBrokenFiles_data();
    void refusesBrokenFiles();
};

void TestHeifPictures::loadsPictures_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("grid");

    const QSize even(320, 240);
    QTest::newRow("HEIC from heif-enc")
        << heifFromEncoder(quartered(even), HeifKind::Heic) << even << false;
    QTest::newRow("AVIF from heif-enc")
        << heifFromEncoder(quartered(even), HeifKind::Avif) << even << false;
    QTest::newRow("HEIC through libheif")
        << heifFromApi(quartered(even), HeifWriting{HeifKind::Heic}) << even << false;
    // An odd size is stored as a larger coded picture that a grid image
    // cuts down; the picture comes back whole at its own size.
    const QSize odd(201, 117);
    QTest::newRow("HEIC of odd size in a grid")
        << heifFromApi(quartered(odd), HeifWriting{HeifKind::Heic}) << odd << true;
    QTest::newRow("AVIF of odd size")
        << heifFromApi(quartered(odd), HeifWriting{HeifKind::Avif}) << odd << false;
}

void TestHeifPictures::loadsPictures()
{
    QFETCH(QByteArray, file);
    QFETCH(QSize, size);
    QFETCH(bool, grid);
    QVERIFY2(!file.isEmpty(), "the test file was not written");
    if (grid)
        QVERIFY2(file.contains("grid"), "the test file holds no grid image");
    PictureProblem why = PictureProblem::None;
    const auto opened = PictureHolder::openBytes(file, &why);
    QVERIFY(opened);
    QCOMPARE(opened->size(), size);
    QVERIFY(!opened->hasPixels());
    const auto loaded = PictureHolder::fromFileBytes(file, &why);
    QVERIFY(loaded);
    QCOMPARE(loaded->image().size(), size);
    checkQuarters(loaded->image());
    // Not a JPEG of its own bytes: a PDF gets the decoded pixels.
    QVERIFY(loaded->embeddableJpeg().isEmpty());
}

void TestHeifPictures::appliesOrientation_data()
{
    QTest::addColumn<HeifKind>("kind");
    QTest::addColumn<int>("orientation");

    for (int orientation : {2, 3, 6, 8})
        QTest::addRow("HEIC, orientation %d", orientation) << HeifKind::Heic << orientation;
    QTest::newRow("AVIF, orientation 6") << HeifKind::Avif << 6;
}

void TestHeifPictures::appliesOrientation()
{
    QFETCH(HeifKind, kind);
    QFETCH(int, orientation);
    const QSize upright(160, 96);
    const QByteArray file = heifFromApi(quartered(upright), HeifWriting{kind, orientation});
    QVERIFY(!file.isEmpty());
    // The size is the upright one before anything is decoded.
    const auto opened = PictureHolder::openBytes(file);
    QVERIFY(opened);
    QCOMPARE(opened->size(), upright);
    const QImage image = opened->decodeFull();
    QCOMPARE(image.size(), upright);
    checkQuarters(image);
}

void TestHeifPictures::showsThumbnailFirst_data()
{
    QTest::addColumn<HeifKind>("kind");
    QTest::addColumn<int>("thumbnailSide");

    QTest::newRow("HEIC with thumbnail") << HeifKind::Heic << 96;
    QTest::newRow("AVIF with thumbnail") << HeifKind::Avif << 96;
    QTest::newRow("HEIC without thumbnail") << HeifKind::Heic << 0;
}

void TestHeifPictures::showsThumbnailFirst()
{
    QFETCH(HeifKind, kind);
    QFETCH(int, thumbnailSide);
    const QSize size(640, 480);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"IMG_0001.HEIC"_s);
    QVERIFY(writeFile(path, heifFromEncoder(quartered(size), kind, thumbnailSide)));

    const auto shown = PictureHolder::openForScreen(path, QSize(400, 300));
    QVERIFY(shown);
    QCOMPARE(shown->size(), size);
    QCOMPARE(shown->filePath(), path);
    checkQuarters(shown->image());
    if (thumbnailSide > 0) {
        // The thumbnail stands in until the picture is decoded in full.
        QVERIFY(!shown->hasFullPixels());
        QCOMPARE(shown->image().width(), thumbnailSide);
        const QImage full = shown->decodeFull();
        QCOMPARE(full.size(), size);
        checkQuarters(full);
    } else {
        QVERIFY(shown->hasFullPixels());
        QCOMPARE(shown->image().size(), size);
    }
}

void TestHeifPictures::convertsColourToSrgb_data()
{
    QTest::addColumn<QByteArray>("file");

    const QImage chart = patchChart(32);
    const QByteArray p3 = profiles::displayP3();
    const QImage inP3 = srgbIntoProfile(chart, p3);
    // Phones write Display P3 as an nclx box: P3 primaries, sRGB's curve.
    QTest::newRow("HEIC, Display P3 nclx")
        << heifFromApi(inP3, HeifWriting{HeifKind::Heic, 1, 12, 13});
    QTest::newRow("AVIF, Display P3 nclx")
        << heifFromApi(inP3, HeifWriting{HeifKind::Avif, 1, 12, 13});
    QTest::newRow("HEIC, sRGB nclx") << heifFromApi(chart, HeifWriting{HeifKind::Heic, 1, 1, 13});
    // An nclx box of primaries no standard names: libheif refuses them, and
    // the picture is taken as sRGB without leaking what it handed out.
    QByteArray unknownPrimaries = heifFromApi(chart, HeifWriting{HeifKind::Heic, 1, 1, 13});
    const qsizetype nclxBox = unknownPrimaries.indexOf("colrnclx");
    QVERIFY(nclxBox > 0);
    qToBigEndian<quint16>(99, unknownPrimaries.data() + nclxBox + 8);
    QTest::newRow("HEIC, nclx of unknown primaries") << unknownPrimaries;
    QTest::newRow("HEIC, Display P3 nclx, turned")
        << heifFromApi(inP3, HeifWriting{HeifKind::Heic, 8, 12, 13});
    const QByteArray adobe = profiles::adobeRgb();
    QTest::newRow("HEIC, Adobe RGB profile")
        << heifFromEncoder(srgbIntoProfile(chart, adobe), HeifKind::Heic, 0, adobe);
    const QByteArray proPhoto = profiles::proPhoto();
    QTest::newRow("AVIF, ProPhoto profile")
        << heifFromEncoder(srgbIntoProfile(chart, proPhoto), HeifKind::Avif, 0, proPhoto);
    // A decoder that ignores the profile shows red patches green.
    const QByteArray swapped = profiles::swappedRedAndGreen();
    QTest::newRow("HEIC, red and green swapped by its profile")
        << heifFromEncoder(srgbIntoProfile(chart, swapped), HeifKind::Heic, 0, swapped);
}

// The decoded picture is the chart the file was made from, in sRGB, within
// what the lossy codecs change.
void TestHeifPictures::convertsColourToSrgb()
{
    QFETCH(QByteArray, file);
    QVERIFY(!file.isEmpty());
    const auto loaded = PictureHolder::fromFileBytes(file);
    QVERIFY(loaded);
    const DeltaE difference = patchDeltaE(patchChart(32), loaded->image());
    QVERIFY2(difference.mean <= 1.0 && difference.max <= 3.0, qPrintable(difference.describe()));
}

void TestHeifPictures::refusesBrokenFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<PictureProblem>("problem");

    const QByteArray whole = heifFromEncoder(quartered(QSize(256, 192)), HeifKind::Heic);
    QTest::newRow("HEIC cut in its data")
        << whole.first(whole.size() - 200) << PictureProblem::Damaged;
    QTest::newRow("HEIC cut in its boxes") << whole.first(40) << PictureProblem::Damaged;
    QTest::newRow("claims 20000 x 20000") << heifClaiming(20000, 20000) << PictureProblem::TooLarge;
    QTest::newRow("claims a side past the decoder's limit")
        << heifClaiming(1u << 20, 16) << PictureProblem::TooLarge;
}

// Whether refused on opening or on decoding, a broken file gives no picture
// and the reason the window and the command line report.
void TestHeifPictures::refusesBrokenFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(PictureProblem, problem);
    QVERIFY(!file.isEmpty());
    PictureProblem why = PictureProblem::None;
    QVERIFY(!PictureHolder::fromFileBytes(file, &why));
    QCOMPARE(why, problem);
}

QTEST_GUILESS_MAIN(TestHeifPictures)
#include "tst_heifpictures.moc"
