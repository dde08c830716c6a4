#include "GuiTestHelpers.h"

#include "ui/CAboutDlg.h"
#include "ui/DialogBuilder.h"
#include "ui/DialogFont.h"
#include "ui/DialogTemplates.h"
#include "ui/TextFit.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <array>

using namespace zorvane;
using namespace Qt::StringLiterals;
using zorvane::test::findControl;

Q_DECLARE_METATYPE(const zorvane::DialogTemplate*)

namespace {

using enum ControlKind;
constexpr ControlStyles group{ControlStyle::GroupStart};
constexpr ControlStyles tab{ControlStyle::TabStop};

// Two radio groups split by a label, fields, a list and a default button.
constexpr std::array sampleControls{
    ControlTemplate{noControlId, Label, u"一", 4, 4, 20, 8, group},
    ControlTemplate{11, RadioButton, u"a", 4, 14, 30, 10, {}},
    ControlTemplate{12, RadioButton, u"b", 4, 24, 30, 10, {}},
    ControlTemplate{21, Edit, u"", 40, 14, 30, 14, tab},
    ControlTemplate{noControlId, GroupBox, u"枠", 2, 40, 100, 40, {}},
    ControlTemplate{noControlId, Label, u"二", 4, 50, 20, 8, group},
    ControlTemplate{13, RadioButton, u"c", 8, 60, 30, 10, {}},
    ControlTemplate{14, RadioButton, u"d", 40, 60, 30, 10, {}},
    ControlTemplate{31, ComboBox, u"", 70, 50, 25, 40, tab},
    ControlTemplate{1, DefaultPushButton, u"OK", 10, 90, 40, 14, tab},
    ControlTemplate{22, Edit, u"", 60, 90, 30, 14, tab},
};
constexpr std::array sampleLists{ComboListInit{31, 3, 7}};
constexpr DialogTemplate sampleTemplate{u"見本", 110, 110, sampleControls, sampleLists};

bool isTextControl(ControlKind kind)
{
    return kind == Label || kind == RadioButton || kind == CheckBox;
}

} // namespace

class DialogBuilderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void convertsDialogUnitsRoundingHalvesUp_data();
    void convertsDialogUnitsRoundingHalvesUp();
    void baseUnitsComeFromTheDialogFont();
    void buildsTheSampleTemplate();
    void radioGroupsFollowGroupStarts();
    void factoryReplacesAControl();
    void groupBoxesLetClicksThrough();
    void templatesKeepEveryTextWhole_data();
    void templatesKeepEveryTextWhole();
    void aboutBoxShowsIconVersionAndOk();
};

void DialogBuilderTest::convertsDialogUnitsRoundingHalvesUp_data()
{
    QTest::addColumn<int>("baseWidth");
    QTest::addColumn<int>("baseHeight");
    QTest::addColumn<QRect>("units");
    QTest::addColumn<QRect>("pixels");
    // 78 * 7 / 4 = 136.5 and 7 * 17 / 8 = 14.875.
    QTest::newRow("half rounds up") << 7 << 17 << QRect(15, 7, 78, 10) << QRect(26, 15, 137, 21);
    QTest::newRow("exact") << 8 << 16 << QRect(4, 8, 40, 16) << QRect(8, 16, 80, 32);
    QTest::newRow("zero") << 7 << 17 << QRect(0, 0, 0, 0) << QRect(0, 0, 0, 0);
    QTest::newRow("main window") << 7 << 17 << QRect(0, 0, 199, 269) << QRect(0, 0, 348, 572);
}

void DialogBuilderTest::convertsDialogUnitsRoundingHalvesUp()
{
    QFETCH(int, baseWidth);
    QFETCH(int, baseHeight);
    QFETCH(QRect, units);
    QFETCH(QRect, pixels);
    QCOMPARE(DialogUnits(baseWidth, baseHeight).toPixels(units), pixels);
}

void DialogBuilderTest::baseUnitsComeFromTheDialogFont()
{
    QDialog dialog;
    const BuiltDialog built = DialogBuilder::build(dialog, sampleTemplate);
    QCOMPARE(QFontInfo(dialog.font()).family(), QString::fromUtf16(dialogFontFamily));
    QCOMPARE(dialog.font().pointSize(), 9);
    const QFontMetricsF metrics(dialog.font(), &dialog);
    double sum = 0;
    for (QChar c : u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"_s)
        sum += metrics.horizontalAdvance(c);
    QCOMPARE(built.units().baseWidth(), qRound(sum / 52));
    QCOMPARE(built.units().baseHeight(), QFontMetrics(dialog.font(), &dialog).height());
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.size(), built.units().toPixels(QSize(110, 110)));
    QCOMPARE(dialog.windowTitle(), u"見本"_s);
}

void DialogBuilderTest::buildsTheSampleTemplate()
{
    QDialog dialog;
    const BuiltDialog built = DialogBuilder::build(dialog, sampleTemplate);

    auto* edit = dialog.findChild<QLineEdit*>(u"21"_s);
    QVERIFY(edit);
    QCOMPARE(built.control(21), edit);
    QCOMPARE(edit->geometry(), built.units().toPixels(QRect(40, 14, 30, 14)));

    auto* combo = built.control<QComboBox>(31);
    QVERIFY(combo && combo->isEditable());
    QCOMPARE(combo->count(), 5);
    QCOMPARE(combo->itemText(0), u"3"_s);
    QCOMPARE(combo->itemText(4), u"7"_s);
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(combo->height(), built.units().toPixelsY(DialogBuilder::closedComboHeight));

    auto* ok = built.control<QPushButton>(1);
    QVERIFY(ok && ok->isDefault());

    // Tab stops in template order; radio buttons and labels are not among them.
    const std::vector<QWidget*> expected{edit, combo, ok, built.control(22)};
    QCOMPARE(built.tabStops(), expected);
    QCOMPARE(built.firstTabStop(), edit);
    QWidget* next = edit;
    for (std::size_t i = 1; i < expected.size(); ++i) {
        do
            next = next->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus) || next->parentWidget() != &dialog);
        QCOMPARE(next, expected[i]);
    }
    QVERIFY(!(built.control(11)->focusPolicy() & Qt::TabFocus));
    QVERIFY(built.control(11)->focusPolicy() & Qt::ClickFocus);
}

void DialogBuilderTest::radioGroupsFollowGroupStarts()
{
    QDialog dialog;
    const BuiltDialog built = DialogBuilder::build(dialog, sampleTemplate);
    QButtonGroup* first = built.radioGroupOf(11);
    QVERIFY(first);
    QCOMPARE(built.radioGroupOf(12), first);
    QVERIFY(built.radioGroupOf(13) != first);
    QCOMPARE(built.radioGroupOf(13), built.radioGroupOf(14));

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* a = built.control<QRadioButton>(11);
    auto* b = built.control<QRadioButton>(12);
    auto* c = built.control<QRadioButton>(13);
    QTest::mouseClick(a, Qt::LeftButton);
    QTest::mouseClick(c, Qt::LeftButton);
    QVERIFY(a->isChecked() && c->isChecked());
    QTest::mouseClick(b, Qt::LeftButton);
    QVERIFY(!a->isChecked() && b->isChecked());
    QVERIFY(c->isChecked());
}

void DialogBuilderTest::factoryReplacesAControl()
{
    QDialog dialog;
    QLabel* made = nullptr;
    const BuiltDialog built = DialogBuilder::build(
        dialog, sampleTemplate, [&made](const ControlTemplate& row, QWidget* parent) -> QWidget* {
            if (row.id != 22)
                return nullptr;
            made = new QLabel(parent);
            return made;
        });
    QVERIFY(made);
    QCOMPARE(built.control(22), made);
    QCOMPARE(made->objectName(), u"22"_s);
    QCOMPARE(made->geometry(), built.units().toPixels(QRect(60, 90, 30, 14)));
    QCOMPARE(built.tabStops().back(), made);
}

// The red field of the advanced dialog comes before the group box that
// frames it; the box must not cover it.
void DialogBuilderTest::groupBoxesLetClicksThrough()
{
    QDialog dialog;
    const BuiltDialog built = DialogBuilder::build(dialog, detailDialogTemplate());
    QWidget* red = built.control(ids::detail::frameRed);
    QCOMPARE(dialog.childAt(red->geometry().center()), red);
    QWidget* swatch = built.control(ids::detail::swatch);
    QCOMPARE(dialog.childAt(swatch->geometry().center()), swatch);
}

void DialogBuilderTest::templatesKeepEveryTextWhole_data()
{
    QTest::addColumn<const DialogTemplate*>("dialogTemplate");
    QTest::newRow("about 100") << &aboutDialogTemplate();
    QTest::newRow("main 102") << &mainDialogTemplate();
    QTest::newRow("advanced 129") << &detailDialogTemplate();
    QTest::newRow("correction 130") << &correctionDialogTemplate();
}

// Positions stay those of the template; a text box may only have grown, and
// then never over another control or off the dialog. Every text is whole
// and every character has a glyph in the dialog font.
void DialogBuilderTest::templatesKeepEveryTextWhole()
{
    QFETCH(const DialogTemplate*, dialogTemplate);
    QDialog dialog;
    const BuiltDialog built = DialogBuilder::build(dialog, *dialogTemplate);
    const DialogUnits& units = built.units();
    const QRect client(QPoint(0, 0), dialog.size());

    const std::vector<QWidget*>& children = built.controlsInOrder();
    QCOMPARE(children.size(), dialogTemplate->controls.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const ControlTemplate& row = dialogTemplate->controls[i];
        QWidget* widget = children[i];
        const QString where = QStringLiteral("row %1").arg(i);
        const QRect planned = units.toPixels(QRect(row.x, row.y, row.width, row.height));
        QVERIFY2(widget->pos() == planned.topLeft(), qPrintable(where));
        QVERIFY2(client.contains(widget->geometry()), qPrintable(where));
        if (row.id != noControlId)
            QCOMPARE(widget->objectName(), QString::number(row.id));
        if (!isTextControl(row.kind))
            continue;
        QVERIFY2(textFits(widget), qPrintable(where));
        QVERIFY2(widget->width() >= planned.width(), qPrintable(where));
        const QFontMetrics metrics(widget->font());
        for (const char32_t c : QStringView(row.text.data(), qsizetype(row.text.size())).toUcs4())
            QVERIFY2(metrics.inFontUcs4(c), qPrintable(where));
        for (std::size_t j = 0; j < children.size(); ++j) {
            const ControlKind otherKind = dialogTemplate->controls[j].kind;
            if (j == i || otherKind == GroupBox)
                continue;
            QVERIFY2(!widget->geometry().intersects(children[j]->geometry()),
                     qPrintable(where + QStringLiteral(" overlaps row %1").arg(j)));
        }
    }
}

void DialogBuilderTest::aboutBoxShowsIconVersionAndOk()
{
    CAboutDlg about;
    QCOMPARE(about.windowTitle(), u"Zorvaneのﾊﾞｰｼﾞｮﾝ情報"_s);
    const QList<QLabel*> labels = about.findChildren<QLabel*>();
    QCOMPARE(labels.size(), 2);
    QVERIFY(!labels[0]->pixmap().isNull());
    QCOMPARE(labels[0]->size(), QSize(32, 32));
    QCOMPARE(labels[1]->text(), u"Zorvane Version 1.10"_s);
    auto* ok = findControl<QPushButton>(&about, ids::ok);
    QVERIFY(ok && ok->isDefault());
    QCOMPARE(ok->text(), u"OK"_s);

    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::keyClick(&about, Qt::Key_Escape);
    QVERIFY(!about.isVisible());
    about.show();
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

QTEST_MAIN(DialogBuilderTest)
#include "tst_dialogbuilder.moc"
