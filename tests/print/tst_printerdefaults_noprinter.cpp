#include "print/DriverExtraTail.h"
#include "print/PrinterDefaults.h"

#include <QApplication>
#include <QPrinterInfo>
#include <QTest>

using namespace zorvane;

// Runs against a print system that cannot be reached, as on a machine
// without any printer.
class TestPrinterDefaultsWithoutPrinter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fallsBackToAPdfFileOrFails();
};

void TestPrinterDefaultsWithoutPrinter::fallsBackToAPdfFileOrFails()
{
    QVERIFY(QPrinterInfo::defaultPrinter().isNull());

    std::optional<PrinterSettingsBlock> settings;
    QVERIFY(GetPrinterDefaults(settings, WithoutPrinter::PdfFile));
    QVERIFY(settings);
    QVERIFY(DriverExtraTail::decode(settings->driverExtra()).pdfFile);

    QVERIFY(!GetPrinterDefaults(settings, WithoutPrinter::Fail));
    QVERIFY(!settings);
}

int main(int argc, char** argv)
{
    qputenv("CUPS_SERVER", "/nonexistent/zorvane-test/cups.sock");
    QApplication app(argc, argv);
    TestPrinterDefaultsWithoutPrinter test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_printerdefaults_noprinter.moc"
