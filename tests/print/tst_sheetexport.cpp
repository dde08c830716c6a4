#include "StoredJob.h"
#include "picture/PictureHolder.h"
#include "print/SheetExport.h"
#include "settings/SettingsStore.h"
#include "settings/Units.h"

#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvane::PaperKind)

class TestSheetExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pngPageIsThePreviewsPage_data();
    void pngPageIsThePreviewsPage();
};

void TestSheetExport::pngPageIsThePreviewsPage_data()
{
    QTest::addColumn<PaperKind>("paper");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QSize>("size");
    // Rounding would give 794 x 1123 and 4961 x 7016: the picture file must
    // not be a pixel larger than the page the preview drew.
    QTest::newRow("A4 96") << PaperKind::A4 << 96 << QSize(793, 1122);
    QTest::newRow("A4 600") << PaperKind::A4 << 600 << QSize(4960, 7015);
    QTest::newRow("quarter 200") << PaperKind::A4Quarter << 200 << QSize(1165, 826);
}

void TestSheetExport::pngPageIsThePreviewsPage()
{
    QFETCH(PaperKind, paper);
    QFETCH(int, dpi);
    QFETCH(QSize, size);
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(u"store.ini"_s));
    MainValues main;
    main.paper = paper;
    main.countText = u"1"_s;
    QImage source(40, 20, QImage::Format_RGB32);
    source.fill(Qt::red);
    const auto picture = PictureHolder::fromImage(source);
    const QString png = dir.filePath(u"sheet.png"_s);

    QCOMPARE(exportSheet(png, SheetFileFormat::Png, dpi, storedJob(store, main), picture.get()),
             SheetExportResult::Written);
    // The header is enough; the large pages need not be decoded.
    const QSize written = QImageReader(png).size();
    QCOMPARE(written, size);
    QCOMPARE(written, pagePixelSize(paper, dpi, dpi));
}

QTEST_MAIN(TestSheetExport)
#include "tst_sheetexport.moc"
