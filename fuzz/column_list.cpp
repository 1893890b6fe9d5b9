// The column-list parser: one column for every comma-separated item.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/column_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto columns = tabulon::ParseColumnList(text);
  const auto commas = static_cast<std::size_t>(std::count(text.begin(), text.end(), ','));
  if (columns.size() != commas + 1) std::abort();
  return 0;
}
