#include "platform/status_table.h"

#include <algorithm>
#include <array>

#include "platform/text.h"

namespace tabulon::win {
namespace {

// Counted from the list, not deduced: a deduced std::array of this many
// rows exceeds a compiler's nesting limit.
constexpr StatusRow kRowList[] = {
#define TABULON_WIN_STATUS(name, code, text) StatusRow{code, #name, text},
#include "platform/status_list.h"
#undef TABULON_WIN_STATUS
};
constexpr std::array kRows = std::to_array(kRowList);

constexpr bool StrictlySortedByCode() {
  for (std::size_t i = 1; i < kRows.size(); ++i) {
    if (kRows[i - 1].code >= kRows[i].code) return false;
  }
  return true;
}
static_assert(StrictlySortedByCode(), "the status list must stay sorted by code, one row a code");

}  // namespace

std::span<const StatusRow> StatusRows() {
  return kRows;
}

const StatusRow* FindStatus(Status code) {
  const auto* it = std::lower_bound(kRows.begin(), kRows.end(), code,
                                    [](const StatusRow& row, Status c) { return row.code < c; });
  if (it == kRows.end() || it->code != code) return nullptr;
  return it;
}

const StatusRow* FindStatusByName(std::string_view name) {
  for (const auto& row : kRows) {
    if (text::EqualsNoCase(row.name, name)) return &row;
  }
  return nullptr;
}

}  // namespace tabulon::win
