#include "ui/PictureFileDialog.h"

#include "GuiTestHelpers.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

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

// The names the dialog's list shows as choosable, sorted, once they are the
// expected ones or after three seconds: the dialog reads the folder and
// applies a new filter in the background.
QStringList choosableNames(QFileDialog& dialog, const QStringList& expected)
{
    auto* view = dialog.findChild<QListView*>(u"listView"_s);
    QStringList names;
    if (!view)
        return names;
    const bool shown = QTest::qWaitFor(
        [&] {
            names.clear();
            const QAbstractItemModel* model = view->model();
            for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
                const QModelIndex index = model->index(row, 0, view->rootIndex());
                if (model->flags(index).testFlag(Qt::ItemIsEnabled))
                    names << index.data().toString();
            }
            std::sort(names.begin(), names.end());
            return names == expected;
        },
        3000);
    Q_UNUSED(shown); // the caller compares what was shown
    return names;
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

    // Through Qt's own dialog, as the window opens it: what each entry
    // lists in a folder, and the file chosen coming back.
    void qtDialogListsWhatEachEntryOffers()
    {
        QTemporaryDir dir;
        for (const QString& name :
             {u"A.JPG"_s, u"a.png"_s, u"a.webp"_s, u"a.icns"_s, u"b.xpm"_s, u"notes.txt"_s}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QStringList photos{u"A.JPG"_s};
        // Icon and legacy formats, which the program does not decode, are
        // not offered.
        const QStringList readable{u"A.JPG"_s, u"a.png"_s, u"a.webp"_s};
        QStringList firstEntry;
        QStringList secondEntry;
        test::handleNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) {
                modal->close();
                return;
            }
            dialog->setDirectory(dir.path());
            dialog->selectNameFilter(dialog->nameFilters().at(0));
            firstEntry = choosableNames(*dialog, photos);
            dialog->selectNameFilter(dialog->nameFilters().at(1));
            secondEntry = choosableNames(*dialog, readable);
            if (auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s))
                name->setText(u"A.JPG"_s);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QCOMPARE(askForPictureFile(nullptr), dir.filePath(u"A.JPG"_s));
        QCOMPARE(firstEntry, photos);
        QCOMPARE(secondEntry, readable);
    }
};

QTEST_MAIN(TestPictureFileDialog)
#include "tst_picturefiledialog.moc"
