#include "HeifFiles.h"
#include "SheetProbe.h"
#include "XSession.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "ui/CMainDlg.h"
#include "ui/PreviewWidget.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;

namespace {

// Pixels of the window near one of the picture's four colours; a lossy
// HEIC and the preview's scaling leave them a little off.
int pixelsNear(const QImage& shown, const QColor& colour)
{
    int near = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QColor pixel = shown.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
                    std::abs(pixel.blue() - colour.blue()) <=
                60)
                ++near;
        }
    }
    return near;
}

QString describe(const QImage& shown)
{
    return u"%1 red, %2 green, %3 blue, %4 yellow pixels"_s
        .arg(pixelsNear(shown, sheetprobe::topLeftColour))
        .arg(pixelsNear(shown, sheetprobe::topRightColour))
        .arg(pixelsNear(shown, sheetprobe::bottomLeftColour))
        .arg(pixelsNear(shown, sheetprobe::bottomRightColour));
}

bool showsThePicture(const QImage& shown)
{
    for (const QColor& colour : {sheetprobe::topLeftColour, sheetprobe::topRightColour,
                                 sheetprobe::bottomLeftColour, sheetprobe::bottomRightColour}) {
        if (pixelsNear(shown, colour) < 20)
            return false;
    }
    return true;
}

} // namespace

// A phone's HEIC dragged from another program and dropped on the real
// program's window on a real X server, with a window manager: the drop
// goes through the X server's drag-and-drop protocol, which the offscreen
// platform does not have, and the picture then shows in the preview.
class DropX11Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void droppedHeicIsShown();
    void cleanup();

private:
    std::unique_ptr<QProcess> start(const QString& program, const QStringList& arguments);
    static qulonglong windowOf(const QProcess& process);
    QPoint previewCentre() const;
    QImage grab(qulonglong window);

    std::unique_ptr<WindowManager> windowManager_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QProcess> program_;
    std::unique_ptr<QProcess> source_;
};

void DropX11Test::initTestCase()
{
    ZORVANE_USE_X11_SESSION();
    windowManager_ = std::make_unique<WindowManager>();
}

void DropX11Test::cleanup()
{
    stopProgram(program_.get());
    stopProgram(source_.get());
    program_.reset();
    source_.reset();
}

std::unique_ptr<QProcess> DropX11Test::start(const QString& program, const QStringList& arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    env.insert(u"XDG_CONFIG_HOME"_s, dir_->filePath(u"config"_s));
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(program, arguments);
    return process;
}

qulonglong DropX11Test::windowOf(const QProcess& process)
{
    QList<qulonglong> windows;
    for (int i = 0; i < 120 && windows.isEmpty(); ++i) {
        QTest::qWait(250);
        windows = visibleWindowsOf(process.processId());
    }
    return windows.size() == 1 ? windows.first() : 0;
}

// Where the preview lies in the main window, from the window this build
// makes: the same template and font give the same place under X11.
QPoint DropX11Test::previewCentre() const
{
    SettingsStore store(dir_->filePath(u"config/preview.ini"_s));
    CMainDlg window(store);
    window.show();
    auto* preview = window.findChild<PreviewWidget*>();
    return preview ? preview->mapTo(&window, preview->rect().center()) : QPoint();
}

QImage DropX11Test::grab(qulonglong window)
{
    const QString path = dir_->filePath(u"shown.png"_s);
    QFile::remove(path);
    source_->write(u"grab %1 %2\n"_s.arg(window).arg(path).toLocal8Bit());
    while (source_->waitForReadyRead(10000)) {
        if (source_->readLine().startsWith("grabbed"))
            return QImage(path);
    }
    return {};
}

void DropX11Test::droppedHeicIsShown()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    const QString heic = dir_->filePath(u"IMG_0001.HEIC"_s);
    {
        QFile file(heic);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray bytes =
            heifFromApi(sheetprobe::quarteredPicture(320, 240), HeifWriting{HeifKind::Heic});
        QCOMPARE(file.write(bytes), bytes.size());
    }
    const QPoint target = previewCentre();
    QVERIFY(!target.isNull());
    {
        // Tickets to show the picture in.
        SettingsStore store(
            dir_->filePath(u"config/Local AppWizard-Generated Applications/Zorvane.ini"_s));
        store.WriteProfileString(keys::mainSection, keys::main::countText, u"4"_s);
    }
    program_ =
        start(qEnvironmentVariable("ZORVANE_EXECUTABLE", QStringLiteral(ZORVANE_EXECUTABLE)), {});
    const qulonglong main = windowOf(*program_);
    QVERIFY(main != 0);
    source_ = start(QStringLiteral(ZORVANE_DRAG_SOURCE), {heic});
    const qulonglong source = windowOf(*source_);
    QVERIFY(source != 0);
    const QImage before = grab(main);
    QVERIFY(!before.isNull());
    QVERIFY2(!showsThePicture(before), qPrintable(describe(before)));

    // Press in the source, move past the drag distance, then over the
    // preview in steps, as a hand does, and let go there.
    const auto moveTo = [](qulonglong window, QPoint at) {
        return xdotool({u"mousemove"_s, u"--sync"_s, u"--window"_s, QString::number(window),
                        QString::number(at.x()), QString::number(at.y())});
    };
    QVERIFY(moveTo(source, QPoint(80, 80)));
    QVERIFY(xdotool({u"mousedown"_s, u"1"_s}));
    for (const QPoint step : {QPoint(90, 90), QPoint(110, 110)}) {
        QVERIFY(moveTo(source, step));
        QTest::qWait(100);
    }
    for (const QPoint offset : {QPoint(-20, -20), QPoint(-5, -5), QPoint(0, 0)}) {
        QVERIFY(moveTo(main, target + offset));
        QTest::qWait(200);
    }
    QVERIFY(xdotool({u"mouseup"_s, u"1"_s}));
    QByteArray said;
    while (!said.contains('\n') && source_->waitForReadyRead(15000))
        said += source_->readLine();
    QCOMPARE(said.trimmed(), QByteArray("dropped ") + QByteArray::number(int(Qt::CopyAction)));

    // The picture is decoded on a worker; the preview follows.
    QImage after;
    for (int i = 0; i < 40 && !showsThePicture(after); ++i) {
        QTest::qWait(250);
        after = grab(main);
    }
    QVERIFY2(showsThePicture(after), qPrintable(describe(after)));
}

QTEST_MAIN(DropX11Test)
#include "tst_dropx11.moc"
