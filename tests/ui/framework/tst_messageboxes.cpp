#include "GuiTestHelpers.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/PaintScope.h"

#include <QPainter>
#include <QTest>
#include <QWidget>

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

// A widget whose paint handler asks for a message, as a handler that reads
// its fields during a repaint would.
class ComplainingWidget : public QWidget
{
public:
    int paints = 0;
    bool modalSeenDuringPaint = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        const PaintScope painting;
        ++paints;
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        showMessage(this, u"描画中のメッセージ"_s);
        modalSeenDuringPaint = modalSeenDuringPaint || QApplication::activeModalWidget();
    }
};

} // namespace

class TestMessageBoxes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QCoreApplication::setApplicationName(u"Zorvane"_s); }

    void captionIsTheApplicationName()
    {
        test::MessageCatcher closer;
        QWidget owner;
        owner.show();
        showMessage(&owner, u"プリンタの検出に失敗しました。"_s);
        QCOMPARE(closer.messages().size(), 1);
        QCOMPARE(closer.titles()[0], u"Zorvane"_s);
        QCOMPARE(closer.messages()[0], u"プリンタの検出に失敗しました。"_s);
    }

    void oneOkButton()
    {
        QWidget owner;
        owner.show();
        QMessageBox::StandardButtons buttons;
        qsizetype buttonCount = 0;
        QTimer::singleShot(20, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            buttons = box->standardButtons();
            buttonCount = box->buttons().size();
            box->accept();
        });
        showMessage(&owner, u"x"_s);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(buttonCount, 1);
    }

    void noModalBoxFromInsideAPaint()
    {
        test::MessageCatcher closer;
        ComplainingWidget widget;
        widget.resize(50, 50);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        widget.repaint(); // paints synchronously
        QVERIFY(!widget.modalSeenDuringPaint);
        QTRY_VERIFY(!closer.messages().isEmpty());
        QCOMPARE(closer.messages()[0], u"描画中のメッセージ"_s);
        QVERIFY(!PaintScope::isPainting());
    }

    void paintScopesNest()
    {
        QVERIFY(!PaintScope::isPainting());
        {
            const PaintScope outer;
            {
                const PaintScope inner;
                QVERIFY(PaintScope::isPainting());
            }
            QVERIFY(PaintScope::isPainting());
        }
        QVERIFY(!PaintScope::isPainting());
    }
};

QTEST_MAIN(TestMessageBoxes)
#include "tst_messageboxes.moc"
