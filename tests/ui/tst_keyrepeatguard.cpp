#include "ui/KeyRepeatGuard.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using namespace zorvane;
using namespace Qt::StringLiterals;

// Two windows as a print leaves them: the first one's button opened the
// second, a dialog whose field has the focus and whose default button
// confirms it. Keys go to them as the platform would send them, so the
// cases that X11 makes (a repeat that is not flagged as one) are written
// out here; the real X11 repeat is tried by tst_heldenterx11.
class KeyRepeatGuardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void keyActivatesOncePerRealPress_data();
    void keyActivatesOncePerRealPress();

private:
    void play(const QString& steps);

    std::unique_ptr<QDialog> first_;
    std::unique_ptr<QDialog> second_;
    QPushButton* start_ = nullptr;
    QLineEdit* field_ = nullptr;
    std::unique_ptr<KeyRepeatGuard> guard_;
    int started_ = 0;
    int confirmed_ = 0;
};

void KeyRepeatGuardTest::init()
{
    first_ = std::make_unique<QDialog>();
    start_ = new QPushButton(u"印刷開始"_s, first_.get());
    second_ = std::make_unique<QDialog>();
    field_ = new QLineEdit(second_.get());
    auto* confirm = new QPushButton(u"OK"_s, second_.get());
    confirm->setDefault(true);
    auto* layout = new QVBoxLayout(second_.get());
    layout->addWidget(field_);
    layout->addWidget(confirm);
    started_ = 0;
    confirmed_ = 0;
    connect(start_, &QPushButton::clicked, this, [this] { ++started_; });
    connect(confirm, &QPushButton::clicked, this, [this] { ++confirmed_; });
    first_->show();
    second_->show();
    QVERIFY(QTest::qWaitForWindowActive(second_.get()));
    guard_ = std::make_unique<KeyRepeatGuard>();
}

void KeyRepeatGuardTest::cleanup()
{
    guard_.reset();
    second_.reset();
    first_.reset();
}

// Steps, one per word: "a" for the button of the first window, "b" for
// the field of the dialog; then "s" for Space, else Return; "+" a press,
// "-" a release; "r" flags it as a repeat; "@n" stamps it with the time n.
void KeyRepeatGuardTest::play(const QString& steps)
{
    static const QRegularExpression step(u"^([ab])(s?)([+-])(r?)(?:@(\\d+))?$"_s);
    for (const QString& word : steps.split(u' ', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = step.match(word);
        QVERIFY2(match.hasMatch(), qPrintable(word));
        const bool space = !match.captured(2).isEmpty();
        QKeyEvent event(match.captured(3) == u"+" ? QEvent::KeyPress : QEvent::KeyRelease,
                        space ? Qt::Key_Space : Qt::Key_Return, Qt::NoModifier,
                        space ? u" "_s : u"\r"_s, !match.captured(4).isEmpty());
        event.setTimestamp(match.captured(5).toULongLong());
        QWidget* target = match.captured(1) == u"a" ? static_cast<QWidget*>(start_) : field_;
        QApplication::sendEvent(target, &event);
    }
}

void KeyRepeatGuardTest::keyActivatesOncePerRealPress_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("started");
    QTest::addColumn<int>("confirmed");

    QTest::newRow("repeats flagged as such") << u"a+ a-r a+r a-r a+r a-"_s << 1 << 0;
    QTest::newRow("unflagged repeats reach the dialog") << u"a+ b+ b+ b+"_s << 1 << 0;
    QTest::newRow("flagged release keeps the key held") << u"a+ a-r b+"_s << 1 << 0;
    QTest::newRow("released, then pressed in the dialog") << u"a+ a- b+ b-"_s << 1 << 1;
    QTest::newRow("released, then pressed again") << u"a+ a- a+ a-"_s << 2 << 0;
    QTest::newRow("Enter in the dialog's field") << u"b+ b+ b- b+ b-"_s << 0 << 2;
    QTest::newRow("another key's release frees nothing") << u"a+ as- b+"_s << 1 << 0;
    QTest::newRow("another key is not held") << u"as+ b+ b- as-"_s << 1 << 1;
    QTest::newRow("Space clicks once, on its release") << u"as+ as+ as-r as+r as-"_s << 1 << 0;
    QTest::newRow("press at the time of the release") << u"a+@100 a-@200 b+@200"_s << 1 << 0;
    QTest::newRow("press after the release") << u"a+@100 a-@200 b+@900 b-@950"_s << 1 << 1;
}

void KeyRepeatGuardTest::keyActivatesOncePerRealPress()
{
    QFETCH(QString, steps);
    QFETCH(int, started);
    QFETCH(int, confirmed);
    play(steps);
    QCOMPARE(started_, started);
    QCOMPARE(confirmed_, confirmed);
}

QTEST_MAIN(KeyRepeatGuardTest)
#include "tst_keyrepeatguard.moc"
