#include "CupsQueue.h"
#include "GuiTestHelpers.h"
#include "SheetProbe.h"
#include "XSession.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "ui/CMainDlg.h"
#include "ui/DialogTemplates.h"

#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace zorvane;
using namespace zorvane::test;
using namespace Qt::StringLiterals;

namespace {

constexpr int holds = 20;

// What one hold of Enter left in the queue.
struct HoldOutcome
{
    int createJobsLogged = 0; // Create-Job lines in the scheduler's access log
    int ownJobs = 0;          // jobs the program sent
    int otherJobs = 0;        // jobs others sent to the shared scheduler meanwhile
    bool dialogLeftOpen = false;
};

// "logged/sent" per hold, "+open" where a dialog stayed open.
QString describe(const QList<HoldOutcome>& outcomes)
{
    QStringList parts;
    for (const HoldOutcome& outcome : outcomes) {
        parts << u"%1/%2"_s.arg(outcome.createJobsLogged - outcome.otherJobs).arg(outcome.ownJobs) +
                     (outcome.dialogLeftOpen ? u"+open"_s : QString());
    }
    return parts.join(u' ');
}

} // namespace

// Holds Enter on "印刷開始" in the real program on a real X server with a
// window manager, so the X server's own key repeat reaches the program as
// it reaches a user's, with Qt's Print dialog mapping in between, and
// counts the jobs that arrive at the CUPS queue. The offscreen platform
// repeats no keys, so only this run shows what the X11 plugin makes of a
// held key. ZORVANE_EXECUTABLE runs another build of the program; it must
// be named Zorvane, as the name picks the store.
class HeldEnterX11Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void heldEnterPrintsOneSheetPerHold();
    void cleanup();

private:
    void writeStore();
    QPoint printStartCentre(QSize* size) const;
    void startProgram();
    void focusPrintStart(QPoint centre, QSize size);
    HoldOutcome holdEnter();
    QList<qulonglong> openDialogs() const;
    bool awaitQuietQueue(qint64 logEnd);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<WindowManager> windowManager_;
    std::unique_ptr<QProcess> program_;
    QString storePath_;
    QString owner_;
    qulonglong mainWindow_ = 0;
};

void HeldEnterX11Test::initTestCase()
{
    // scripts/test.sh gives the display and the queue and asks for them.
    ZORVANE_USE_X11_SESSION();
    QString noCups = cupsqueue::whyUnusable();
    if (noCups.isEmpty() && !cupsqueue::accessLogReadable())
        noCups = u"the CUPS access log cannot be read (run as root)"_s;
    if (!noCups.isEmpty() && qEnvironmentVariableIntValue("ZORVANE_REQUIRE_CUPS") == 1)
        QFAIL(qPrintable(noCups));
    if (!noCups.isEmpty())
        QSKIP(qPrintable(noCups));
    windowManager_ = std::make_unique<WindowManager>();
}

void HeldEnterX11Test::cleanup()
{
    stopProgram(program_.get());
    program_.reset();
}

// A picture-ready window: one ticket per print, and printed cells not
// marked, so every print is the same sheet.
void HeldEnterX11Test::writeStore()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    storePath_ = dir_->filePath(u"config/Local AppWizard-Generated Applications/Zorvane.ini"_s);
    SettingsStore store(storePath_);
    store.WriteProfileString(keys::mainSection, keys::main::countText, u"1"_s);
    store.WriteProfileInt(keys::sheetSection, keys::sheet::markPrinted, 0);
}

// Where "印刷開始" lies in the main window, from the window this build
// makes: the same template and font give the same place under X11.
QPoint HeldEnterX11Test::printStartCentre(QSize* size) const
{
    SettingsStore store(storePath_);
    CMainDlg window(store);
    window.show();
    auto* button = findControl<QPushButton>(&window, ids::main::printStart);
    *size = button->size();
    return button->mapTo(&window, button->rect().center());
}

void HeldEnterX11Test::startProgram()
{
    const QString picture = dir_->filePath(u"picture.png"_s);
    QVERIFY(sheetprobe::quarteredPicture(300, 160).save(picture));
    // A job owner of its own tells this program's jobs from those of
    // others printing through the same scheduler.
    owner_ = u"zorvane-held-%1"_s.arg(QCoreApplication::applicationPid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    env.insert(u"XDG_CONFIG_HOME"_s, dir_->filePath(u"config"_s));
    env.insert(u"CUPS_USER"_s, owner_);
    program_ = std::make_unique<QProcess>();
    program_->setProcessEnvironment(env);
    program_->setProcessChannelMode(QProcess::ForwardedChannels);
    program_->start(qEnvironmentVariable("ZORVANE_EXECUTABLE", QStringLiteral(ZORVANE_EXECUTABLE)),
                    {picture});
    QVERIFY(program_->waitForStarted());
    QList<qulonglong> windows;
    QTRY_VERIFY_WITH_TIMEOUT(!(windows = visibleWindowsOf(program_->processId())).isEmpty(), 30000);
    QCOMPARE(windows.size(), 1);
    mainWindow_ = windows.first();
    QVERIFY(xdotool({u"windowactivate"_s, u"--sync"_s, QString::number(mainWindow_)}));
}

// Presses the mouse on the button, drags off it and lets go: the button
// takes the focus and is not clicked.
void HeldEnterX11Test::focusPrintStart(QPoint centre, QSize size)
{
    const QString window = QString::number(mainWindow_);
    const auto moveTo = [&window](QPoint at) {
        return xdotool({u"mousemove"_s, u"--sync"_s, u"--window"_s, window, QString::number(at.x()),
                        QString::number(at.y())});
    };
    const qint64 logEnd = cupsqueue::accessLogEnd();
    QVERIFY(moveTo(centre));
    QVERIFY(xdotool({u"mousedown"_s, u"1"_s}));
    QVERIFY(moveTo(centre - QPoint(0, 3 * size.height())));
    QVERIFY(xdotool({u"mouseup"_s, u"1"_s}));
    QTest::qWait(500);
    QVERIFY(openDialogs().isEmpty());
    QCOMPARE(cupsqueue::createJobsLoggedSince(logEnd), 0);
}

QList<qulonglong> HeldEnterX11Test::openDialogs() const
{
    QList<qulonglong> windows = visibleWindowsOf(program_->processId());
    windows.removeAll(mainWindow_);
    return windows;
}

// Waits until the program shows no dialog, its jobs have left the queue,
// and no Create-Job came for two seconds.
bool HeldEnterX11Test::awaitQuietQueue(qint64 logEnd)
{
    QElapsedTimer clock;
    clock.start();
    int logged = -1;
    QElapsedTimer quiet;
    quiet.start();
    while (clock.elapsed() < 90000) {
        const int now = cupsqueue::createJobsLoggedSince(logEnd);
        if (now != logged) {
            logged = now;
            quiet.restart();
        }
        if (quiet.elapsed() >= 2000 && openDialogs().isEmpty() &&
            !cupsqueue::hasUnfinishedJobs(owner_))
            return true;
        QTest::qWait(250);
    }
    return false;
}

// One hold as a user makes it: Return down for two seconds, so the X
// server repeats it, then up; then Enter once to confirm the Print dialog
// if it is open.
HoldOutcome HeldEnterX11Test::holdEnter()
{
    HoldOutcome outcome;
    const qint64 logEnd = cupsqueue::accessLogEnd();
    const QMap<QString, QString> jobsBefore = cupsqueue::jobOwners();
    QProcess::execute(u"sh"_s,
                      {u"-c"_s, u"xdotool keydown Return; sleep 2; xdotool keyup Return"_s});
    QTest::qWait(500);
    if (!openDialogs().isEmpty())
        xdotool({u"key"_s, u"Return"_s});
    if (!awaitQuietQueue(logEnd)) {
        // A dialog still open keeps the next hold from starting where it should.
        outcome.dialogLeftOpen = !openDialogs().isEmpty();
        for (int i = 0; i < 10 && !openDialogs().isEmpty(); ++i) {
            xdotool({u"key"_s, u"Escape"_s});
            QTest::qWait(500);
        }
    }
    outcome.createJobsLogged = cupsqueue::createJobsLoggedSince(logEnd);
    const QMap<QString, QString> jobsAfter = cupsqueue::jobOwners();
    for (auto job = jobsAfter.cbegin(); job != jobsAfter.cend(); ++job) {
        if (jobsBefore.contains(job.key()))
            continue;
        ++(job.value() == owner_ ? outcome.ownJobs : outcome.otherJobs);
    }
    return outcome;
}

void HeldEnterX11Test::heldEnterPrintsOneSheetPerHold()
{
    writeStore();
    QSize buttonSize;
    const QPoint buttonCentre = printStartCentre(&buttonSize);
    startProgram();
    if (QTest::currentTestFailed())
        return;
    focusPrintStart(buttonCentre, buttonSize);
    if (QTest::currentTestFailed())
        return;
    QList<HoldOutcome> outcomes;
    for (int i = 0; i < holds; ++i) {
        outcomes.append(holdEnter());
        // Enter that reached a field instead of the button closes the window.
        QVERIFY2(program_->state() == QProcess::Running,
                 qPrintable(u"the program ended after hold %1"_s.arg(i + 1)));
    }
    qInfo("Create-Job lines / jobs sent, per hold: %s", qPrintable(describe(outcomes)));
    QList<int> createJobs;
    QList<int> ownJobs;
    QList<bool> dialogsLeftOpen;
    for (const HoldOutcome& outcome : outcomes) {
        createJobs << outcome.createJobsLogged - outcome.otherJobs;
        ownJobs << outcome.ownJobs;
        dialogsLeftOpen << outcome.dialogLeftOpen;
    }
    QCOMPARE(createJobs, QList<int>(holds, 1));
    QCOMPARE(ownJobs, QList<int>(holds, 1));
    QCOMPARE(dialogsLeftOpen, QList<bool>(holds, false));
}

int main(int argc, char** argv)
{
    // The window this test builds to measure the button stays off the
    // display, where it would take the keys meant for the program.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    HeldEnterX11Test test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_heldenterx11.moc"
