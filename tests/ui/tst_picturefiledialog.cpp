#include "settings/SettingsStore.h"
#include "ui/CMainDlg.h"
#include "ui/DialogTemplates.h"
#include "ui/PictureFileDialog.h"

#include "GuiTestHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
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

    void secondEntryOffersPhoneFormatsInAnyCase_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("phone's HEIC") << u"IMG_0001.HEIC"_s << true;
        QTest::newRow("heic") << u"photo.heic"_s << true;
        QTest::newRow("Heif") << u"photo.Heif"_s << true;
        QTest::newRow("avif") << u"photo.avif"_s << true;
        QTest::newRow("AVIF") << u"PHOTO.AVIF"_s << true;
        QTest::newRow("heic inside the name") << u"photo.heic.txt"_s << false;
        QTest::newRow("avi is a film") << u"film.avi"_s << false;
    }

    void secondEntryOffersPhoneFormatsInAnyCase()
    {
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(matchesAny(patternsOfFilter(pictureFileFilters().at(1)), name), matches);
    }

    // Through Qt's own dialog, as the window opens it: what each entry
    // lists in a folder, and the file chosen coming back.
    void startingFolder_data();
    void startingFolder();
    void windowOpensTheDialogWhereThePicturesAre_data();
    void windowOpensTheDialogWhereThePicturesAre();

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

void TestPictureFileDialog::startingFolder_data()
{
    QTest::addColumn<QString>("last"); // relative to the test's folder; empty for none
    QTest::addColumn<bool>("withPictures");
    QTest::addColumn<QString>("expected");

    QTest::newRow("last picture's folder") << u"shots/a.png"_s << true << u"shots"_s;
    QTest::newRow("last picture gone, its folder kept")
        << u"shots/gone.png"_s << true << u"shots"_s;
    QTest::newRow("last picture's folder gone") << u"gone/a.png"_s << true << u"Pictures"_s;
    QTest::newRow("nothing chosen yet") << QString() << true << u"Pictures"_s;
    QTest::newRow("no pictures folder") << QString() << false << u"home"_s;
    QTest::newRow("neither") << u"gone/a.png"_s << false << u"home"_s;
}

void TestPictureFileDialog::startingFolder()
{
    QFETCH(QString, last);
    QFETCH(bool, withPictures);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(u"shots"_s));
    QVERIFY(QDir(dir.path()).mkpath(u"home"_s));
    if (withPictures)
        QVERIFY(QDir(dir.path()).mkpath(u"Pictures"_s));
    QFile picture(dir.filePath(u"shots/a.png"_s));
    QVERIFY(picture.open(QIODevice::WriteOnly));
    picture.close();
    const QString lastPath = last.isEmpty() ? QString() : dir.filePath(last);
    QCOMPARE(pictureDialogFolder(lastPath, dir.filePath(u"Pictures"_s), dir.filePath(u"home"_s)),
             dir.filePath(expected));
}

void TestPictureFileDialog::windowOpensTheDialogWhereThePicturesAre_data()
{
    QTest::addColumn<bool>("withPictures");
    QTest::addColumn<QString>("loaded"); // a folder the window loads a picture from first
    QTest::addColumn<QString>("expected");

    QTest::newRow("first time") << true << QString() << u"home/Pictures"_s;
    QTest::newRow("first time, no pictures folder") << false << QString() << u"home"_s;
    QTest::newRow("after a picture") << true << u"shots"_s << u"shots"_s;
    QTest::newRow("after a file that did not load") << true << u"junk"_s << u"junk"_s;
}

// Through Qt's own dialog as the window opens it, started from a working
// directory where no picture is kept.
void TestPictureFileDialog::windowOpensTheDialogWhereThePicturesAre()
{
    QFETCH(bool, withPictures);
    QFETCH(QString, loaded);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QDir root(dir.path());
    QVERIFY(root.mkpath(u"home"_s) && root.mkpath(u"cwd"_s) && root.mkpath(u"config"_s));
    if (withPictures)
        QVERIFY(root.mkpath(u"home/Pictures"_s));
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    const QString cwd = QDir::currentPath();
    qputenv("HOME", QFile::encodeName(dir.filePath(u"home"_s)));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(u"config"_s)));
    QDir::setCurrent(dir.filePath(u"cwd"_s));
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", home);
        qputenv("XDG_CONFIG_HOME", config);
        QDir::setCurrent(cwd);
    });

    SettingsStore store(dir.filePath(u"Zorvane.ini"_s));
    CMainDlg window(store, nullptr, dir.filePath(u"devmode.zvn"_s));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (!loaded.isEmpty()) {
        QVERIFY(root.mkpath(loaded));
        QImage image(20, 10, QImage::Format_RGB32);
        image.fill(Qt::green);
        const QString path = dir.filePath(loaded + u"/p.png"_s);
        if (loaded == u"junk"_s) {
            QFile junk(path);
            QVERIFY(junk.open(QIODevice::WriteOnly));
            junk.write("no picture");
        } else {
            QVERIFY(image.save(path));
        }
        test::MessageCatcher catcher; // the junk file's message
        window.LoadPicture(path);
    }

    QString opened;
    test::handleNextModal([&opened](QWidget* modal) {
        if (auto* dialog = qobject_cast<QFileDialog*>(modal))
            opened = dialog->directory().absolutePath();
        modal->close();
    });
    QTest::mouseClick(test::findControl<QPushButton>(&window, ids::main::browsePicture),
                      Qt::LeftButton);
    QCOMPARE(opened, dir.filePath(expected));
    QCOMPARE(window.loadedPicture() != nullptr, loaded == u"shots"_s);
}

QTEST_MAIN(TestPictureFileDialog)
#include "tst_picturefiledialog.moc"
