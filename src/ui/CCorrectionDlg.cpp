#include "CCorrectionDlg.h"

#include "AppIcon.h"
#include "DialogTemplates.h"
#include "layout/CalibrationSheet.h"
#include "layout/PositionCorrection.h"
#include "settings/CalibrationStore.h"
#include "ui/framework/MessageBoxes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

using namespace Qt::StringLiterals;

namespace zorvane {

namespace id = ids::correction;

namespace {

QString signedMillimetres(int micrometres)
{
    return (micrometres >= 0 ? u"+"_s : u"-"_s) +
           QString::number(std::abs(micrometres) / 1000.0, 'f', 2) + u"mm"_s;
}

QString axisText(const AxisCorrection& axis)
{
    return signedMillimetres(axis.shiftMicrometres) + u" ×"_s +
           QString::number(axis.scale(), 'f', 4);
}

} // namespace

CCorrectionDlg::CCorrectionDlg(SettingsStore& store, QString printerName, PaperKind paper,
                               QWidget* parent)
    : QDialog(parent), store_(store), printerName_(std::move(printerName)), paper_(paper)
{
    built_ = DialogBuilder::build(*this, correctionDialogTemplate());
    built_.nameControls(correctionDialogNames());
    setWindowIcon(appIcon());
    DoDataExchange();

    connect(built_.control<QPushButton>(ids::ok), &QPushButton::clicked, this,
            &CCorrectionDlg::accept);
    connect(built_.control<QPushButton>(ids::cancel), &QPushButton::clicked, this,
            &QDialog::reject);
    connect(built_.control<QPushButton>(id::reset), &QPushButton::clicked, this,
            &CCorrectionDlg::OnReset);

    OnInitDialog();
}

void CCorrectionDlg::DoDataExchange()
{
    exchange_.bindInt(built_.control<QLineEdit>(id::nearX), &nearX);
    exchange_.bindInt(built_.control<QLineEdit>(id::nearY), &nearY);
    exchange_.bindInt(built_.control<QLineEdit>(id::farX), &farX);
    exchange_.bindInt(built_.control<QLineEdit>(id::farY), &farY);
}

// The fields start where the stored correction says the printer puts the
// crosshairs on this paper, which is what was measured when it was saved;
// without one, where a printer without fault puts them.
void CCorrectionDlg::OnInitDialog()
{
    auto* printer = built_.control<QLabel>(id::printerName);
    printer->setText(u"プリンタ： "_s + printerName_);
    printer->setToolTip(printerName_);

    const CalibrationMarks marks = calibrationMarks(paper_);
    const PositionCorrection correction =
        loadPrinterCorrection(store_, printerName_).value_or(PositionCorrection{});
    const auto placed = [](const AxisCorrection& axis, int nominal) {
        return int(std::lround(axis.placedTenths(nominal)));
    };
    nearX = placed(correction.x, marks.nearMark.x());
    nearY = placed(correction.y, marks.nearMark.y());
    farX = placed(correction.x, marks.farMark.x());
    farY = placed(correction.y, marks.farMark.y());
    exchange_.write();
    showCurrentCorrection();
    if (QWidget* first = built_.firstTabStop())
        first->setFocus(Qt::OtherFocusReason);
}

void CCorrectionDlg::showCurrentCorrection()
{
    const auto correction = loadPrinterCorrection(store_, printerName_);
    built_.control<QLabel>(id::current)
        ->setText(correction ? u"現在の補正： 横 "_s + axisText(correction->x) + u"、縦 "_s +
                                   axisText(correction->y)
                             : u"現在の補正： なし"_s);
}

void CCorrectionDlg::accept()
{
    OnOK();
}

// Every field is read and both axes derived before anything is stored; a
// refused value leaves the store as it was and the dialog open.
void CCorrectionDlg::OnOK()
{
    exchange_.forgetRejection();
    if (!exchange_.read())
        return;
    const CalibrationMarks marks = calibrationMarks(paper_);
    const AxisDerivation x =
        deriveAxisCorrection(marks.nearMark.x(), marks.farMark.x(), nearX, farX, marks.paperWidth);
    const AxisDerivation y =
        deriveAxisCorrection(marks.nearMark.y(), marks.farMark.y(), nearY, farY, marks.paperHeight);
    for (const AxisDerivation* axis : {&x, &y}) {
        if (!axis->fault)
            continue;
        showMessage(this, QString::fromUtf16(*axis->fault == CorrectionFault::OffPaper
                                                 ? correctionMessages::offPaper
                                                 : correctionMessages::scaleOutOfRange));
        return;
    }
    savePrinterCorrection(store_, printerName_, PositionCorrection{*x.correction, *y.correction});
    QDialog::accept();
}

void CCorrectionDlg::OnReset()
{
    resetPrinterCorrection(store_, printerName_);
    QDialog::accept();
}

} // namespace zorvane
