#include "SheetValues.h"

#include "SettingsStore.h"
#include "StoreKeys.h"

#include <QStringList>

#include <array>

using namespace Qt::StringLiterals;

namespace zorvane {
namespace {

namespace ks = keys::sheet;

struct PlacementWord
{
    PicturePlacement placement;
    std::string_view word;
};

constexpr std::array placementWords{
    PlacementWord{PicturePlacement::Stretch, "stretch"},
    PlacementWord{PicturePlacement::Fit, "fit"},
    PlacementWord{PicturePlacement::Fill, "fill"},
};

PicturePlacement placementForNumber(int number)
{
    switch (number) {
    case 1:
        return PicturePlacement::Fit;
    case 2:
        return PicturePlacement::Fill;
    default:
        return PicturePlacement::Stretch;
    }
}

int numberOfPlacement(PicturePlacement placement)
{
    return static_cast<int>(placement);
}

QString paperWord(PaperKind paper)
{
    switch (paper) {
    case PaperKind::A4:
        return u"A4"_s;
    case PaperKind::B5:
        return u"B5"_s;
    case PaperKind::A4Quarter:
        return u"A4Q"_s;
    }
    return {};
}

} // namespace

std::string_view placementWord(PicturePlacement placement)
{
    for (const PlacementWord& entry : placementWords) {
        if (entry.placement == placement)
            return entry.word;
    }
    return {};
}

std::optional<PicturePlacement> placementForWord(std::string_view word)
{
    for (const PlacementWord& entry : placementWords) {
        if (entry.word == word)
            return entry.placement;
    }
    return std::nullopt;
}

SheetChoices loadSheetChoices(const SettingsStore& store)
{
    SheetChoices choices;
    choices.placement =
        placementForNumber(store.GetProfileInt(keys::sheetSection, ks::placement, 0));
    choices.turned = store.GetProfileInt(keys::sheetSection, ks::turned, 0) != 0;
    choices.markPrinted = store.GetProfileInt(keys::sheetSection, ks::markPrinted, 0) != 0;
    return choices;
}

void saveSheetChoices(SettingsStore& store, const SheetChoices& choices)
{
    const SheetChoices stored = loadSheetChoices(store);
    if (stored.placement != choices.placement)
        store.WriteProfileInt(keys::sheetSection, ks::placement,
                              numberOfPlacement(choices.placement));
    if (stored.turned != choices.turned)
        store.WriteProfileInt(keys::sheetSection, ks::turned, choices.turned ? 1 : 0);
    if (stored.markPrinted != choices.markPrinted)
        store.WriteProfileInt(keys::sheetSection, ks::markPrinted, choices.markPrinted ? 1 : 0);
}

QString usedCellsKey(PaperKind paper, TicketSize ticket, bool turned)
{
    QString key = QLatin1StringView(ks::usedCellsPrefix) + paperWord(paper) + u'_' +
                  QString::number(ticket.width) + u'x' + QString::number(ticket.height);
    if (turned)
        key += u"_T"_s;
    return key;
}

CellSet loadUsedCells(const SettingsStore& store, PaperKind paper, TicketSize ticket, bool turned)
{
    const QByteArray key = usedCellsKey(paper, ticket, turned).toLatin1();
    return cellSetFromText(store.GetProfileString(keys::sheetSection, key.constData(), QString()));
}

void saveUsedCells(SettingsStore& store, PaperKind paper, TicketSize ticket, bool turned,
                   const CellSet& cells)
{
    const QByteArray key = usedCellsKey(paper, ticket, turned).toLatin1();
    const QString text = cellSetText(cells);
    if (store.GetProfileString(keys::sheetSection, key.constData(), QString()) != text)
        store.WriteProfileString(keys::sheetSection, key.constData(), text);
}

QString cellSetText(const CellSet& cells)
{
    QStringList pairs;
    for (const GridCell& cell : cells)
        pairs << QString::number(cell.row) + u':' + QString::number(cell.column);
    return pairs.join(u' ');
}

CellSet cellSetFromText(const QString& text)
{
    CellSet cells;
    for (const QString& pair : text.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList parts = pair.split(u':');
        if (parts.size() != 2)
            continue;
        bool rowOk = false;
        bool columnOk = false;
        const int row = parts[0].toInt(&rowOk);
        const int column = parts[1].toInt(&columnOk);
        if (rowOk && columnOk && row >= 0 && column >= 0)
            cells.insert({row, column});
    }
    return cells;
}

} // namespace zorvane
