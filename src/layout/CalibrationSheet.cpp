#include "CalibrationSheet.h"

#include "settings/Units.h"

#include <QFont>
#include <QPainter>
#include <QPen>
#include <QRectF>

using namespace Qt::StringLiterals;

namespace zorvane {
namespace {

constexpr double mmPerInch = 25.4;
constexpr double lineWidthMm = 0.15;
constexpr double armMm = 8.0; // crosshair arm beyond the centre
constexpr double circleRadiusMm = 3.0;
constexpr double rulerReachMm = 25.0; // beyond the 20 mm inset, so the edge cuts it

// Lengths in millimetres on the paper, drawn in device pixels.
class PaperScale
{
public:
    PaperScale(int dpiX, int dpiY) : x_(dpiX / mmPerInch), y_(dpiY / mmPerInch) {}

    QPointF point(double xMm, double yMm) const { return {xMm * x_, yMm * y_}; }
    double x(double mm) const { return mm * x_; }
    double y(double mm) const { return mm * y_; }

private:
    double x_;
    double y_;
};

void drawCrosshair(QPainter& painter, const PaperScale& scale, QPointF centreMm)
{
    const double cx = centreMm.x();
    const double cy = centreMm.y();
    painter.drawLine(scale.point(cx - armMm, cy), scale.point(cx + armMm, cy));
    painter.drawLine(scale.point(cx, cy - armMm), scale.point(cx, cy + armMm));
    painter.drawEllipse(scale.point(cx, cy), scale.x(circleRadiusMm), scale.y(circleRadiusMm));
}

// A ruler along one axis from the crosshair toward an edge, its ticks on
// the far side from the crosshair's other arm, numbered by their distance
// from the crosshair's centre every 5 mm.
void drawRuler(QPainter& painter, const PaperScale& scale, QPointF centreMm, QPointF directionMm,
               QPointF tickSideMm, const QFont& font)
{
    const QPointF end = centreMm + directionMm * rulerReachMm;
    painter.drawLine(scale.point(centreMm.x(), centreMm.y()), scale.point(end.x(), end.y()));
    painter.setFont(font);
    for (int mm = 1; mm <= int(rulerReachMm); ++mm) {
        const double length = mm % 10 == 0 ? 3.0 : mm % 5 == 0 ? 2.2 : 1.2;
        const QPointF at = centreMm + directionMm * mm;
        const QPointF tip = at + tickSideMm * length;
        painter.drawLine(scale.point(at.x(), at.y()), scale.point(tip.x(), tip.y()));
        if (mm % 5 != 0)
            continue;
        const QPointF label = at + tickSideMm * 4.6;
        const QRectF box(scale.point(label.x() - 3, label.y() - 1.5),
                         scale.point(label.x() + 3, label.y() + 1.5));
        painter.drawText(box, Qt::AlignCenter, QString::number(mm));
    }
}

QString instructions(const CalibrationMarks& marks, PaperKind paper, const QString& printerName)
{
    const QString printer =
        printerName.isEmpty() ? QString() : u"プリンタ： "_s + printerName + u"\n"_s;
    return u"位置合わせ用紙\n"_s + printer + u"用紙： "_s + paperDisplayName(paper) +
           u"\n\n1. 定規を用紙の左端に当て、左上の十字の中心までの距離を 0.1mm 単位で測って下さい。"
           u"同じように用紙の上端からも測って下さい。\n"
           u"2. 右下の十字も、用紙の左端と上端から測って下さい。\n"
           u"3. 右クリックメニューの「位置の補正...」に測った値を入力して下さい。\n\n"
           u"ずれのないプリンタでは、左上の十字は左端から "_s +
           millimetresText(marks.nearMark.x()) + u"mm・上端から "_s +
           millimetresText(marks.nearMark.y()) + u"mm、右下の十字は左端から "_s +
           millimetresText(marks.farMark.x()) + u"mm・上端から "_s +
           millimetresText(marks.farMark.y()) +
           u"mm にあります。十字の横の目盛りは十字の中心からの距離 (mm) です。"_s;
}

QFont sheetFont(double heightPx)
{
    QFont font;
    font.setFamilies({u"Noto Sans CJK JP"_s, u"Noto Sans JP"_s});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, int(heightPx)));
    return font;
}

} // namespace

CalibrationMarks calibrationMarks(PaperKind paper)
{
    const PaperSpec& paperEntry = paperSpec(paper);
    CalibrationMarks marks;
    marks.paperWidth = paperEntry.pageWidthMm * 10;
    marks.paperHeight = paperEntry.pageHeightMm * 10;
    marks.nearMark = QPoint(CalibrationMarks::inset, CalibrationMarks::inset);
    marks.farMark = QPoint(marks.paperWidth - CalibrationMarks::inset,
                           marks.paperHeight - CalibrationMarks::inset);
    return marks;
}

void drawCalibrationSheet(QPainter& painter, PaperKind paper, int dpiX, int dpiY,
                          QPointF printableOrigin, const QString& printerName)
{
    const CalibrationMarks marks = calibrationMarks(paper);
    const PaperScale scale(dpiX, dpiY);
    painter.save();
    painter.translate(-printableOrigin);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setBrush(Qt::NoBrush);
    QPen pen(Qt::black, std::max(1.0, scale.x(lineWidthMm)), Qt::SolidLine, Qt::FlatCap);
    painter.setPen(pen);

    const QPointF nearMm(marks.nearMark.x() / 10.0, marks.nearMark.y() / 10.0);
    const QPointF farMm(marks.farMark.x() / 10.0, marks.farMark.y() / 10.0);
    drawCrosshair(painter, scale, nearMm);
    drawCrosshair(painter, scale, farMm);

    const QFont rulerFont = sheetFont(scale.y(2.2));
    drawRuler(painter, scale, nearMm, {-1, 0}, {0, 1}, rulerFont);
    drawRuler(painter, scale, nearMm, {0, -1}, {1, 0}, rulerFont);
    drawRuler(painter, scale, farMm, {1, 0}, {0, -1}, rulerFont);
    drawRuler(painter, scale, farMm, {0, 1}, {-1, 0}, rulerFont);

    // The text keeps clear of both crosshairs and their rulers.
    const double textHeightMm = paper == PaperKind::A4Quarter ? 2.4 : 3.2;
    painter.setFont(sheetFont(scale.y(textHeightMm)));
    const double widthMm = marks.paperWidth / 10.0;
    const double heightMm = marks.paperHeight / 10.0;
    const QRectF textBox(scale.point(34, 30), scale.point(widthMm - 34, heightMm - 30));
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     instructions(marks, paper, printerName));
    painter.restore();
}

} // namespace zorvane
