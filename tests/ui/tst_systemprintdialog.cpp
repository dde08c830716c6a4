#include "ui/SystemPrintDialog.h"

#include <QApplication>
#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>

using namespace zorvane;

class TestSystemPrintDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersAsTheUserDoes_data();
    void answersAsTheUserDoes();
};

void TestSystemPrintDialog::answersAsTheUserDoes_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void TestSystemPrintDialog::answersAsTheUserDoes()
{
    QFETCH(bool, accept);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir::temp().filePath(QStringLiteral("zorvane-dialog-test.pdf")));
    bool seen = false;
    QAbstractPrintDialog::PrintDialogOptions options;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        options = dialog->options();
        accept ? dialog->accept() : dialog->reject();
    });

    SystemPrintDialog port;
    QCOMPARE(port.confirm(printer), accept);
    QVERIFY(seen);
    QVERIFY(!(options & QAbstractPrintDialog::PrintSelection));
    QVERIFY(!(options & QAbstractPrintDialog::PrintPageRange));
    QVERIFY(!(options & QAbstractPrintDialog::PrintCurrentPage));
    QVERIFY(options & QAbstractPrintDialog::PrintToFile);
}

QTEST_MAIN(TestSystemPrintDialog)
#include "tst_systemprintdialog.moc"
