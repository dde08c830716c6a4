#pragma once

#include <QSize>
#include <QString>

#include <array>
#include <optional>
#include <string_view>

namespace zorvane {

enum class TicketType
{
    A,
    B,
    D,
    Other
};
enum class PaperKind
{
    A4,
    B5,
    A4Quarter
};
enum class FillOrder
{
    RowsFirst,
    ColumnsFirst
};

// Radio groups are tested in this order; the first selected member counts.
inline constexpr std::array allTicketTypes{TicketType::A, TicketType::B, TicketType::D,
                                           TicketType::Other};
inline constexpr std::array allPaperKinds{PaperKind::A4, PaperKind::B5, PaperKind::A4Quarter};
inline constexpr std::array allFillOrders{FillOrder::RowsFirst, FillOrder::ColumnsFirst};

// One fixed ticket size. Lengths in tenths of a millimetre.
struct TicketSpec
{
    TicketType type;
    std::string_view ticketTypeCode;
    int ticketWidth;
    int ticketHeight;
    // The width in inches as a written constant, not computed at run time,
    // so the resolution estimate divides by exactly this double.
    double widthInches;
};

// The size of a ticket of the given type, in tenths of a millimetre. For
// Other it is the custom size.
struct TicketSize
{
    int width = 0;
    int height = 0;
};

struct PaperSpec
{
    PaperKind kind;
    int pageWidthMm;
    int pageHeightMm;
    int usableWidth;  // tenths of a millimetre
    int usableHeight; // tenths of a millimetre
    int devicePaperCode;
    int devicePaperWidth;  // tenths of a millimetre; only for the user-defined code
    int devicePaperLength; // tenths of a millimetre; only for the user-defined code
    QSize previewPageRect; // pixels in the preview box
};

inline constexpr int userDefinedPaperCode = 256;

// The fixed rows of the catalogue: types A, B and D. Other has no fixed row.
const TicketSpec* fixedTicketSpec(TicketType type);
std::string_view ticketTypeCode(TicketType type);
std::optional<TicketType> ticketTypeForCode(std::string_view code);
TicketSize ticketSize(TicketType type, int customWidth, int customHeight);
const PaperSpec& paperSpec(PaperKind kind);
// The paper as the window names it to the user: "A4", "B5", "A4四切".
QString paperDisplayName(PaperKind kind);

} // namespace zorvane
