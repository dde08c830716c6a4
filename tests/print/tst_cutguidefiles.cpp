// Cut marks and bleed in the exported PDF, by both PDF writers: the picture
// is still embedded once however far it runs past its cut line, and the
// marks and the bleed land where the sheet drawing puts them.
#include "CutGuideProbe.h"
#include "PdfProbe.h"
#include "SheetProbe.h"
#include "StoredJob.h"
#include "picture/PictureHolder.h"
#include "print/SheetExport.h"
#include "settings/SettingsStore.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::PicturePlacement)

class TestCutGuideFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pdfHoldsThePictureOnce_data();
    void pdfHoldsThePictureOnce();

private:
    QTemporaryDir dir_;
};

void TestCutGuideFiles::pdfHoldsThePictureOnce_data()
{
    QTest::addColumn<bool>("jpeg"); // a JPEG file goes in as its own bytes
    QTest::addColumn<PicturePlacement>("placement");
    QTest::addColumn<bool>("turned");
    QTest::newRow("pixels, stretch") << false << PicturePlacement::Stretch << false;
    QTest::newRow("pixels, fill turned") << false << PicturePlacement::Fill << true;
    QTest::newRow("jpeg, stretch") << true << PicturePlacement::Stretch << false;
    QTest::newRow("jpeg, fill turned") << true << PicturePlacement::Fill << true;
}

// Five A tickets on A4 with a 2 mm bleed and cut marks. At 254 dpi the
// first ticket's cut line runs along column 100 and row 100 (turned or
// not), so its picture reaches column 80 and its top mark covers rows 30
// to 69 of column 100.
void TestCutGuideFiles::pdfHoldsThePictureOnce()
{
    if (!pdfprobe::toolsAvailable())
        QSKIP("poppler tools are missing");
    QFETCH(bool, jpeg);
    QFETCH(PicturePlacement, placement);
    QFETCH(bool, turned);
    const QImage image = sheetprobe::quarteredPicture(300, 200);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "JPEG", 95));
    const auto picture = jpeg ? PictureHolder::openBytes(bytes) : PictureHolder::fromImage(image);
    QVERIFY(picture);
    QCOMPARE(picture->embeddableJpeg().isEmpty(), !jpeg);

    const SettingsStore store(dir_.filePath(u"store.ini"_s));
    MainValues main;
    main.countText = u"5"_s;
    SheetOptions sheet{placement, turned, {}};
    sheet.cut = {true, 20};
    const QString pdf = dir_.filePath(u"sheet.pdf"_s);
    QCOMPARE(
        exportSheet(pdf, SheetFileFormat::Pdf, 600, storedJob(store, main, sheet), picture.get()),
        SheetExportResult::Written);
    QCOMPARE(pdfprobe::imageCount(pdf), 1);

    const QImage page = pdfprobe::render(pdf, 254);
    QVERIFY(!page.isNull());
    QVERIFY2(!cutprobe::isDark(page.pixel(150, 150)) && page.pixel(150, 150) != 0xffffffff,
             "no picture in the first ticket");
    const int left = cutprobe::reach(page, QPoint(150, 150), {-1, 0});
    QVERIFY2(qAbs(left - 80) <= 1, qPrintable(u"picture from column %1"_s.arg(left)));
    bool marked = false;
    for (const int column : {99, 100, 101}) {
        for (const auto& [from, to] : cutprobe::darkRunsInColumn(page, column))
            marked = marked || (qAbs(from - 30) <= 1 && qAbs(to - 69) <= 1);
    }
    QVERIFY(marked);
}

QTEST_MAIN(TestCutGuideFiles)
#include "tst_cutguidefiles.moc"
