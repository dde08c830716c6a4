#include "Catalogue.h"

namespace zorvane {
namespace {

constexpr std::array<TicketSpec, 3> ticketCatalogue{{
    {TicketType::A, "A", 579, 302, 2.279527559055118},
    {TicketType::B, "B", 579, 252, 2.279527559055118},
    {TicketType::D, "D", 884, 302, 3.4803149606299213},
}};

constexpr std::string_view otherTicketCode = "Z";

constexpr std::array<PaperSpec, 3> paperCatalogue{{
    {PaperKind::A4, 210, 297, 2000, 2870, 9, 0, 0, QSize(113, 160)},
    {PaperKind::B5, 182, 257, 1720, 2470, 13, 0, 0, QSize(113, 160)},
    {PaperKind::A4Quarter, 148, 105, 1380, 950, userDefinedPaperCode, 1480, 1050, QSize(120, 85)},
}};

} // namespace

const TicketSpec* fixedTicketSpec(TicketType type)
{
    for (const TicketSpec& entry : ticketCatalogue) {
        if (entry.type == type)
            return &entry;
    }
    return nullptr;
}

std::string_view ticketTypeCode(TicketType type)
{
    const TicketSpec* entry = fixedTicketSpec(type);
    return entry ? entry->ticketTypeCode : otherTicketCode;
}

std::optional<TicketType> ticketTypeForCode(std::string_view code)
{
    for (TicketType type : allTicketTypes) {
        if (ticketTypeCode(type) == code)
            return type;
    }
    return std::nullopt;
}

TicketSize ticketSize(TicketType type, int customWidth, int customHeight)
{
    if (const TicketSpec* entry = fixedTicketSpec(type))
        return {entry->ticketWidth, entry->ticketHeight};
    return {customWidth, customHeight};
}

const PaperSpec& paperSpec(PaperKind kind)
{
    for (const PaperSpec& entry : paperCatalogue) {
        if (entry.kind == kind)
            return entry;
    }
    return paperCatalogue.front();
}

QString paperDisplayName(PaperKind kind)
{
    switch (kind) {
    case PaperKind::A4:
        return QStringLiteral("A4");
    case PaperKind::B5:
        return QStringLiteral("B5");
    case PaperKind::A4Quarter:
        return QStringLiteral("A4四切");
    }
    return QString();
}

} // namespace zorvane
