#include "ui/PictureFileDialog.h"

#include <QRegularExpression>
#include <QTest>

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

bool matchesAny(const QStringList& patterns, const QString& name)
{
    for (const QString& pattern : patterns) {
        const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(pattern));
        if (wildcard.match(name).hasMatch())
            return true;
    }
    return false;
}

} // namespace

class TestPictureFileDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pictureEntryKeepsItsWording()
    {
        const QStringList filters = pictureFileFilters();
        QVERIFY(filters.size() >= 2);
        QVERIFY(filters.first().startsWith(u"ﾋﾟｸﾁｬﾌｧｲﾙ(*.BMP, *.JPG, *.GIF)"_s));
    }

    void pictureEntryMatchesAnyCase_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("upper BMP") << u"SCAN.BMP"_s << true;
        QTest::newRow("lower jpg") << u"photo.jpg"_s << true;
        QTest::newRow("mixed Jpg") << u"Photo.Jpg"_s << true;
        QTest::newRow("jpeg") << u"photo.jpeg"_s << true;
        QTest::newRow("JPEG") << u"PHOTO.JPEG"_s << true;
        QTest::newRow("gif") << u"anim.gif"_s << true;
        QTest::newRow("png is not in this entry") << u"shot.png"_s << false;
        QTest::newRow("jpg inside the name") << u"photo.jpg.txt"_s << false;
    }

    void pictureEntryMatchesAnyCase()
    {
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(matchesAny(patternsOfFilter(pictureFileFilters().first()), name), matches);
    }

    void everyReadableFormatIsOffered()
    {
        const QStringList patterns = patternsOfFilter(pictureFileFilters().at(1));
        for (const QString& name : {u"a.png"_s, u"a.bmp"_s, u"a.jpg"_s, u"a.gif"_s})
            QVERIFY2(matchesAny(patterns, name), qPrintable(name));
    }
};

QTEST_MAIN(TestPictureFileDialog)
#include "tst_picturefiledialog.moc"
