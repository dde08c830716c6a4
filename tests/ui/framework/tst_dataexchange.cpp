#include "GuiTestHelpers.h"
#include "ui/framework/DataExchange.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

// A dialog with the same shape of bindings as the main window: three
// integer fields, then a count combo.
struct Form
{
    QDialog dialog;
    QLineEdit* width = new QLineEdit(&dialog);
    QLineEdit* height = new QLineEdit(&dialog);
    QLineEdit* resolution = new QLineEdit(&dialog);
    QComboBox* count = new QComboBox(&dialog);
    int widthValue = 10;
    int heightValue = 20;
    int resolutionValue = 30;
    QString countText = u"old"_s;
    DataExchange exchange;

    Form()
    {
        count->setEditable(true);
        for (int i = 1; i <= 50; ++i)
            count->addItem(QString::number(i));
        exchange.bindInt(width, &widthValue);
        exchange.bindInt(height, &heightValue);
        exchange.bindInt(resolution, &resolutionValue);
        exchange.bindComboText(count, &countText);
        exchange.write();
        dialog.show();
    }
};

} // namespace

class TestDataExchange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writeFillsControls()
    {
        Form form;
        QCOMPARE(form.width->text(), u"10"_s);
        QCOMPARE(form.height->text(), u"20"_s);
        QCOMPARE(form.resolution->text(), u"30"_s);
        QCOMPARE(form.count->currentText(), u"old"_s);
        QCOMPARE(form.count->currentIndex(), -1);
    }

    void readStopsAtFirstRejectedField_data()
    {
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("widthValue");
        QTest::addColumn<int>("heightValue");
        QTest::addColumn<QString>("countText");
        QTest::addColumn<QString>("focusedField");

        QTest::newRow("all accepted")
            << u"600"_s << u"-3"_s << true << 600 << -3 << u"7"_s << QString();
        QTest::newRow("width rejected")
            << u"6x"_s << u"300"_s << false << 10 << 20 << u"old"_s << u"width"_s;
        QTest::newRow("height rejected, width taken")
            << u"600"_s << QString() << false << 600 << 20 << u"old"_s << u"height"_s;
        QTest::newRow("beyond 32 bits")
            << u"4294967296"_s << u"1"_s << false << 10 << 20 << u"old"_s << u"width"_s;
    }

    void readStopsAtFirstRejectedField()
    {
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(bool, accepted);
        QFETCH(int, widthValue);
        QFETCH(int, heightValue);
        QFETCH(QString, countText);
        QFETCH(QString, focusedField);

        Form form;
        form.width->setText(width);
        form.height->setText(height);
        form.count->setEditText(u"7"_s);
        test::MessageCatcher closer;
        QCOMPARE(form.exchange.read(), accepted);
        QCOMPARE(form.widthValue, widthValue);
        QCOMPARE(form.heightValue, heightValue);
        QCOMPARE(form.resolutionValue, 30);
        QCOMPARE(form.countText, countText);
        if (accepted) {
            QVERIFY(closer.messages().isEmpty());
            return;
        }
        QCOMPARE(closer.messages().size(), 1);
        QCOMPARE(closer.messages()[0], u"整数を入力してください。"_s);
        QCOMPARE(closer.titles()[0], QCoreApplication::applicationName());
        QLineEdit* expectedFocus = focusedField == u"width"_s ? form.width : form.height;
        QCOMPARE(form.dialog.focusWidget(), expectedFocus);
    }

    void rejectionIsReportedOncePerEdit()
    {
        Form form;
        test::MessageCatcher closer;
        form.width->setText(u"abc"_s);
        QVERIFY(!form.exchange.read());
        QVERIFY(!form.exchange.read());
        QCOMPARE(closer.messages().size(), 1);

        form.width->setText(u"abcd"_s); // a new edit is a new rejection
        QVERIFY(!form.exchange.read());
        QCOMPARE(closer.messages().size(), 2);

        form.width->setText(u"5"_s);
        QVERIFY(form.exchange.read());
        form.width->setText(u"abcd"_s); // the same text again after a good one
        QVERIFY(!form.exchange.read());
        QCOMPARE(closer.messages().size(), 3);
    }

    void silentReadShowsNothing()
    {
        Form form;
        test::MessageCatcher closer;
        form.width->setText(u"x"_s);
        QVERIFY(!form.exchange.read(DataExchange::Report::Silent));
        QTest::qWait(30);
        QVERIFY(closer.messages().isEmpty());
        QCOMPARE(form.widthValue, 10);
    }

    void writeRaisesNoHandler()
    {
        Form form;
        QSignalSpy widthEdits(form.width, &QLineEdit::textChanged);
        QSignalSpy countEdits(form.count, &QComboBox::editTextChanged);
        QSignalSpy countSelections(form.count, &QComboBox::currentIndexChanged);
        form.widthValue = 600;
        form.countText = u"12"_s;
        form.exchange.write();
        QCOMPARE(form.width->text(), u"600"_s);
        QCOMPARE(form.count->currentText(), u"12"_s);
        QCOMPARE(widthEdits.count(), 0);
        QCOMPARE(countEdits.count(), 0);
        QCOMPARE(countSelections.count(), 0);

        // A user's edit still reaches its handlers afterwards.
        QTest::keyClicks(form.width, u"1"_s);
        QCOMPARE(widthEdits.count(), 1);
    }

    void writeLeavesUnchangedTextAlone()
    {
        Form form;
        form.width->setFocus();
        form.width->setCursorPosition(1);
        form.exchange.write(); // "10" already shown: no reset of the cursor
        QCOMPARE(form.width->cursorPosition(), 1);
        QVERIFY(!form.width->isUndoAvailable());
    }

    void comboWriteSelectsFirstEntryThatBegins_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("shown");

        QTest::newRow("exact entry") << u"27"_s << 26 << u"27"_s;
        QTest::newRow("prefix of several") << u"1"_s << 0 << u"1"_s;
        QTest::newRow("prefix of one longer") << u"4"_s << 3 << u"4"_s;
        QTest::newRow("no entry begins so") << u"abc"_s << -1 << u"abc"_s;
        QTest::newRow("zero") << u"0"_s << -1 << u"0"_s;
        QTest::newRow("empty") << QString() << -1 << QString();
        QTest::newRow("with a blank") << u" 12x"_s << -1 << u" 12x"_s;
    }

    void comboWriteSelectsFirstEntryThatBegins()
    {
        QFETCH(QString, text);
        QFETCH(int, index);
        QFETCH(QString, shown);
        Form form;
        setComboText(form.count, text);
        QCOMPARE(form.count->currentIndex(), index);
        QCOMPARE(form.count->currentText(), shown);
    }
};

QTEST_MAIN(TestDataExchange)
#include "tst_dataexchange.moc"
