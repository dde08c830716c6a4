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

void saveSheetChoice(SettingsStore& store, PicturePlacement placement)
{
    store.refresh();
    if (loadSheetChoices(store).placement == placement)
        return;
    store.WriteProfileInt(keys::sheetSection, ks::placement, numberOfPlacement(placement));
    store.sync();
}

void saveSheetChoice(SettingsStore& store, bool SheetChoices::*choice, bool on)
{
    const char* key = choice == &SheetChoices::turned ? ks::turned : ks::markPrinted;
    store.refresh();
    if (loadSheetChoices(store).*choice == on)
        return;
    store.WriteProfileInt(keys::sheetSection, key, on ? 1 : 0);
    store.sync();
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
    store.refresh();
    if (store.GetProfileString(keys::sheetSection, key.constData(), QString()) == text)
        return;
    store.WriteProfileString(keys::sheetSection, key.constData(), text);
    store.sync();
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
