// Measures how quickly the main window answers a change with a finished
// repaint, with a 24-megapixel picture loaded: a digit typed into the count
// field, and a click on another paper. Each run sends the real input event,
// then repaints the window at once and stops the clock when the paint ends.
#include "BenchSupport.h"
#include "settings/SettingsStore.h"
#include "ui/CMainDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <cstdio>

using namespace zorvane;
using namespace zorvane::bench;
using namespace Qt::StringLiterals;

namespace {

constexpr int runs = 200;

void report(const char* what, const Timing& t)
{
    std::printf("%-44s median %7.2f ms  (min %.2f, max %.2f, %d runs)  peak RSS %.0f MB\n", what,
                t.median, t.fastest, t.slowest, runs, peakMemoryMb());
    std::fflush(stdout);
}

void typeKey(QWidget* field, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(field, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(field, &release);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString photo = writeJpeg(dir, u"photo24.jpg"_s, 6000, 4000);
    SettingsStore store(dir.filePath(u"store.ini"_s));
    CMainDlg window(store, nullptr, dir.filePath(u"devmode.zvn"_s));
    window.show();
    QCoreApplication::processEvents();
    window.LoadPicture(photo);
    if (!window.loadedPicture())
        qFatal("the 24 MP JPEG did not load");
    window.repaint();

    auto* count = window.findChild<QComboBox*>(u"1015"_s);
    QLineEdit* countField = count->lineEdit();
    countField->setFocus();
    int digit = 0;
    report("count typed -> repainted", measure(runs, [&] {
               // Alternate a digit and a backspace, so the count stays small.
               if (digit++ % 2 == 0)
                   typeKey(countField, Qt::Key_5, u"5"_s);
               else
                   typeKey(countField, Qt::Key_Backspace, QString());
               window.repaint();
           }));

    const std::array papers{window.findChild<QRadioButton*>(u"1012"_s),
                            window.findChild<QRadioButton*>(u"1013"_s),
                            window.findChild<QRadioButton*>(u"1014"_s)};
    int paper = 0;
    report("paper clicked -> repainted", measure(runs, [&] {
               papers[std::size_t(++paper % 3)]->click();
               window.repaint();
           }));
    return 0;
}
