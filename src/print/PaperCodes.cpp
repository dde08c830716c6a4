#include "PaperCodes.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zorvane {
namespace {

// Only sizes whose dimensions agree on both sides; the rest travel as a
// user-defined size with their width and length.
constexpr std::array<std::pair<QPageSize::PageSizeId, int>, 17> paperCodes{{
    {QPageSize::Letter, 1},
    {QPageSize::Tabloid, 3},
    {QPageSize::Ledger, 4},
    {QPageSize::Legal, 5},
    {QPageSize::Executive, 7},
    {QPageSize::A3, 8},
    {QPageSize::A4, 9},
    {QPageSize::A5, 11},
    {QPageSize::JisB4, 12},
    {QPageSize::JisB5, 13},
    {QPageSize::Envelope10, 20},
    {QPageSize::EnvelopeDL, 27},
    {QPageSize::EnvelopeC5, 28},
    {QPageSize::EnvelopeC4, 30},
    {QPageSize::EnvelopeC6, 31},
    {QPageSize::A2, 66},
    {QPageSize::A6, 70},
}};

} // namespace

std::optional<int> paperCodeOf(QPageSize::PageSizeId id)
{
    const auto found = std::find_if(paperCodes.begin(), paperCodes.end(),
                                    [id](const auto& entry) { return entry.first == id; });
    if (found == paperCodes.end())
        return std::nullopt;
    return found->second;
}

std::optional<QPageSize::PageSizeId> pageSizeIdOf(int paperCode)
{
    const auto found =
        std::find_if(paperCodes.begin(), paperCodes.end(),
                     [paperCode](const auto& entry) { return entry.second == paperCode; });
    if (found == paperCodes.end())
        return std::nullopt;
    return found->first;
}

} // namespace zorvane
