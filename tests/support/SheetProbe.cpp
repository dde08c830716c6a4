#include "SheetProbe.h"

#include "TestPictures.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace sheetprobe {
namespace {

// Probes stay this far inside a ticket, clear of resampled edges.
constexpr double insetMm = 1.5;
// Printing through a spooler may re-encode the picture; colours need only
// be near.
constexpr int tolerance = 60;

bool near(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance;
}

QColor colourAt(const QImage& page, double dpi, QPointF mm)
{
    const QPoint pixel(int(mm.x() * dpi / 25.4), int(mm.y() * dpi / 25.4));
    if (!page.rect().contains(pixel))
        return QColor();
    return page.pixelColor(pixel);
}

QString describe(const QString& what, QPointF mm, const QColor& found)
{
    return u"%1 at (%2 mm, %3 mm): found %4"_s.arg(what)
        .arg(mm.x(), 0, 'f', 1)
        .arg(mm.y(), 0, 'f', 1)
        .arg(found.name());
}

QPointF cellCorner(const Sheet& sheet, int row, int column)
{
    return sheet.originMm +
           QPointF((sheet.offsetX + column * (sheet.ticketWidth + sheet.gapH)) / 10.0,
                   (sheet.offsetY + row * (sheet.ticketHeight + sheet.gapV)) / 10.0);
}

QString checkTicket(const QImage& page, double dpi, const Sheet& sheet, QPointF corner)
{
    const double w = sheet.ticketWidth / 10.0;
    const double h = sheet.ticketHeight / 10.0;
    const struct
    {
        QPointF at;
        QColor expected;
    } probes[] = {
        {corner + QPointF(insetMm, insetMm), topLeftColour},
        {corner + QPointF(w - insetMm, insetMm), topRightColour},
        {corner + QPointF(insetMm, h - insetMm), bottomLeftColour},
        {corner + QPointF(w - insetMm, h - insetMm), bottomRightColour},
    };
    for (const auto& probe : probes) {
        const QColor found = colourAt(page, dpi, probe.at);
        if (!near(found, probe.expected))
            return describe(u"expected %1"_s.arg(probe.expected.name()), probe.at, found);
    }
    return {};
}

QString checkBlank(const QImage& page, double dpi, QPointF at, const QString& what)
{
    const QColor found = colourAt(page, dpi, at);
    return near(found, Qt::white) ? QString() : describe(what + u" should be blank"_s, at, found);
}

} // namespace

QImage quarteredPicture(int width, int height)
{
    return zorvane::test::quarteredImage(width, height,
                                         {topLeftColour.rgb(), topRightColour.rgb(),
                                          bottomLeftColour.rgb(), bottomRightColour.rgb()});
}

QString check(const QImage& page, double dpi, const Sheet& sheet)
{
    if (page.isNull())
        return u"no page"_s;
    const int cells = sheet.columns * sheet.rows;
    for (int k = 0; k < std::min(sheet.count, cells) + 1 && k < cells; ++k) {
        const bool rowsFirst = sheet.order == zorvane::FillOrder::RowsFirst;
        const int row = rowsFirst ? k / sheet.columns : k % sheet.rows;
        const int column = rowsFirst ? k % sheet.columns : k / sheet.rows;
        const QPointF corner = cellCorner(sheet, row, column);
        const QString fault =
            k < sheet.count
                ? checkTicket(page, dpi, sheet, corner)
                : checkBlank(page, dpi,
                             corner + QPointF(sheet.ticketWidth, sheet.ticketHeight) / 20.0,
                             u"first free cell"_s);
        if (!fault.isEmpty())
            return u"ticket %1 (row %2, column %3): "_s.arg(k).arg(row).arg(column) + fault;
    }
    const QPointF first = cellCorner(sheet, 0, 0);
    if (QString fault = checkBlank(page, dpi, first - QPointF(insetMm, insetMm), u"margin"_s);
        !fault.isEmpty())
        return fault;
    return {};
}

} // namespace sheetprobe
