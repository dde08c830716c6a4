#include "layout/LabelSheetFit.h"
#include "settings/LabelDatabase.h"

#include <QDir>
#include <QTest>

Q_DECLARE_METATYPE(zorvane::LabelSheet)

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

// The installed database, where the Debian package puts it.
const QString installedFolder =
    u"/usr/share/"_s + QString::fromUtf16(LabelDatabase::installedSubfolder);

} // namespace

class TestLabelSheetFit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void labelsThatFit_data()
    {
        QTest::addColumn<LabelSheet>("sheet");
        QTest::addColumn<int>("fit");

        // 60 x 20 mm from 12 mm: the third column ends at 198 mm, inside the
        // 200 mm that are printed; the twelfth row at 285 mm, inside 287.
        QTest::newRow("whole sheet fits")
            << LabelSheet{PaperKind::A4, 600, 200, 120, 120, 30, 30, 3, 12} << 36;
        // Labels from the paper's very edge: two of three columns and seven
        // of eight rows lie within the printed extent.
        QTest::newRow("reaching into the margin")
            << LabelSheet{PaperKind::A4, 700, 371, 0, 0, 0, 0, 3, 8} << 14;
        // The grid fit would find more rows than the sheet has: the sheet's
        // rows cap it.
        QTest::newRow("capped by the sheet")
            << LabelSheet{PaperKind::A4, 600, 200, 120, 120, 30, 30, 2, 3} << 6;
        QTest::newRow("quarter sheet")
            << LabelSheet{PaperKind::A4Quarter, 400, 200, 50, 50, 50, 40, 3, 4} << 9;
        QTest::newRow("first label beyond the extent")
            << LabelSheet{PaperKind::B5, 400, 400, 1500, 100, 50, 50, 2, 3} << 0;
        // Both directions a whole pitch beyond the extent: -1 column and -1
        // row, which must not count as one label.
        QTest::newRow("first label far beyond both edges")
            << LabelSheet{PaperKind::A4, 600, 200, 3000, 4000, 30, 30, 3, 12} << 0;
    }

    void labelsThatFit()
    {
        QFETCH(LabelSheet, sheet);
        QFETCH(int, fit);
        QCOMPARE(zorvane::labelsThatFit(sheet), fit);
    }

    // Every file of the installed database is read without a fault, and the
    // products the program can print are counted.
    void installedDatabase()
    {
        if (!QDir(installedFolder).exists()) {
            if (qEnvironmentVariableIsSet("CI"))
                QFAIL("the installed label database is missing");
            QSKIP("the label database is not installed");
        }
        const LabelDatabase database = LabelDatabase::load({installedFolder});
        QVERIFY2(database.problems().isEmpty(), qPrintable(database.problems().join(u'\n')));
        QVERIFY(database.filesRead() > 30);
        QVERIFY(database.products().size() > 1500);

        int equivalents = 0;
        int unresolved = 0;
        QHash<PaperKind, int> printable;
        QHash<PaperKind, int> wholeSheet;
        for (const LabelTemplate& product : database.products()) {
            if (!product.equiv.isEmpty()) {
                ++equivalents;
                unresolved += product.layouts.isEmpty() ? 1 : 0;
            }
            const LabelSheetConversion converted = convertLabelSheet(product);
            if (!converted.sheet)
                continue;
            const int fit = zorvane::labelsThatFit(*converted.sheet);
            if (fit == 0)
                continue;
            ++printable[converted.sheet->paper];
            if (fit == converted.sheet->labelCount())
                ++wholeSheet[converted.sheet->paper];
        }
        qInfo("%lld products in %d files, %d equivalents (%d unresolved)",
              qlonglong(database.products().size()), database.filesRead(), equivalents, unresolved);
        qInfo("printable: A4 %d (all labels fit: %d), B5 %d, A4 quarter %d",
              printable.value(PaperKind::A4), wholeSheet.value(PaperKind::A4),
              printable.value(PaperKind::B5), printable.value(PaperKind::A4Quarter));
        QCOMPARE(unresolved, 0);
        QVERIFY(printable.value(PaperKind::A4) > 500);

        const LabelTemplate* elm033 = database.find(u"Hisago ELM033"_s);
        QVERIFY(elm033);
        const LabelSheetConversion converted = convertLabelSheet(*elm033);
        QVERIFY(converted.sheet);
        QCOMPARE(*converted.sheet, (LabelSheet{PaperKind::A4, 600, 200, 120, 120, 30, 30, 3, 12}));
        QCOMPARE(zorvane::labelsThatFit(*converted.sheet), 36);
    }
};

QTEST_GUILESS_MAIN(TestLabelSheetFit)
#include "tst_labelsheetfit.moc"
