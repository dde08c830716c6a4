#include "ui/QtTranslations.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

bool hasJapanese(const QString& text)
{
    for (const QChar c : text) {
        const auto script = c.script();
        if (script == QChar::Script_Hiragana || script == QChar::Script_Katakana ||
            script == QChar::Script_Han)
            return true;
    }
    return false;
}

// What a user reads first in each of Qt's own dialogs.
using ShownText = std::function<QString()>;

} // namespace

Q_DECLARE_METATYPE(ShownText)

class TestQtTranslations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void standardDialogsSpeakJapanese_data();
    void standardDialogsSpeakJapanese();
};

void TestQtTranslations::initTestCase()
{
    // An English locale must not matter: the program is Japanese throughout.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY2(installQtJapanese(*QCoreApplication::instance()),
             "Qt's Japanese translations (qt6-translations-l10n) are not installed");
}

void TestQtTranslations::standardDialogsSpeakJapanese_data()
{
    QTest::addColumn<ShownText>("shown");
    QTest::addColumn<QString>("english");

    QTest::newRow("message box button") << ShownText([] {
        QMessageBox box(QMessageBox::Warning, u"Zorvane"_s, u"x"_s, QMessageBox::Cancel);
        return box.button(QMessageBox::Cancel)->text();
    }) << u"Cancel"_s;
    QTest::newRow("colour dialog") << ShownText([] {
        QColorDialog dialog;
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        return dialog.windowTitle();
    }) << u"Select Color"_s;
    QTest::newRow("file dialog") << ShownText([] {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
        for (const QPushButton* button : buttons) {
            if (button->text().contains(u"Open"_s) || hasJapanese(button->text()))
                return button->text();
        }
        return QString();
    }) << u"&Open"_s;
    QTest::newRow("print dialog") << ShownText([] {
        QPrinter printer;
        QPrintDialog dialog(&printer);
        return dialog.windowTitle();
    }) << u"Print"_s;
}

void TestQtTranslations::standardDialogsSpeakJapanese()
{
    QFETCH(ShownText, shown);
    QFETCH(QString, english);
    const QString text = shown();
    QVERIFY2(text != english && hasJapanese(text), qPrintable(text));
}

QTEST_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"
