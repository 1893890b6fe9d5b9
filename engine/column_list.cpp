#include "engine/column_list.h"

#include "engine/configuration.h"

namespace tabulon {

std::vector<std::uint32_t> ParseColumnList(std::string_view text) {
  std::vector<std::uint32_t> columns;
  std::size_t start = 0;
  // The list is read with one "," appended, so the last item counts too.
  while (true) {
    const std::size_t comma = text.find(',', start);
    const std::string_view item = text.substr(
        start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    // Items beyond the integer range saturate, so they stay columns beyond
    // every table and write empty text instead of wrapping onto real ones.
    columns.push_back(static_cast<std::uint32_t>(SaturatedInteger(item)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return columns;
}

}  // namespace tabulon
