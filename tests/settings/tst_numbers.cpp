#include "settings/Numbers.h"

#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

class TestNumbers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("value");

        QTest::newRow("plain") << u"579"_s << true << 579;
        QTest::newRow("zero") << u"0"_s << true << 0;
        QTest::newRow("negative") << u"-12"_s << true << -12;
        QTest::newRow("plus sign") << u"+7"_s << true << 7;
        QTest::newRow("blanks around") << u"  42 "_s << true << 42;
        QTest::newRow("int max") << u"2147483647"_s << true << 2147483647;
        QTest::newRow("int min") << u"-2147483648"_s << true << int(-2147483648LL);
        QTest::newRow("just beyond max") << u"2147483648"_s << false << 0;
        QTest::newRow("just beyond min") << u"-2147483649"_s << false << 0;
        QTest::newRow("far beyond") << u"99999999999999999999999"_s << false << 0;
        QTest::newRow("empty") << QString() << false << 0;
        QTest::newRow("only blanks") << u"   "_s << false << 0;
        QTest::newRow("only sign") << u"-"_s << false << 0;
        QTest::newRow("letters") << u"abc"_s << false << 0;
        QTest::newRow("trailing letters") << u"12x"_s << false << 0;
        QTest::newRow("inner blank") << u"1 2"_s << false << 0;
        QTest::newRow("decimal point") << u"1.5"_s << false << 0;
        QTest::newRow("full-width digits") << u"１２"_s << false << 0;
        QTest::newRow("double sign") << u"--1"_s << false << 0;
    }

    void wholeNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(int, value);
        const std::optional<int> parsed = parseWholeNumber(text);
        QCOMPARE(parsed.has_value(), accepted);
        if (accepted)
            QCOMPARE(*parsed, value);
    }

    void leading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");

        QTest::newRow("plain") << u"27"_s << 27;
        QTest::newRow("letters") << u"abc"_s << 0;
        QTest::newRow("blank then digits then text") << u" 12x"_s << 12;
        QTest::newRow("tab and newline skipped") << u"\t\n5"_s << 5;
        QTest::newRow("negative") << u"-3"_s << -3;
        QTest::newRow("plus") << u"+8 pieces"_s << 8;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("sign without digits") << u"-x"_s << 0;
        QTest::newRow("digits after text") << u"x12"_s << 0;
        QTest::newRow("saturates high") << u"99999999999"_s << 2147483647;
        QTest::newRow("saturates low") << u"-99999999999"_s << int(-2147483648LL);
        QTest::newRow("full-width digits are text") << u"１２"_s << 0;
    }

    void leading()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(leadingNumber(text), value);
    }
};

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
