#include "estate/status_names.h"

#include <charconv>

#include "platform/status_table.h"

namespace tabulon::estate {

std::optional<win::Status> StatusFromName(std::string_view name) {
  if (const auto* row = win::FindStatusByName(name)) return row->code;
  win::Status code = 0;
  const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), code);
  if (ec == std::errc() && end == name.data() + name.size() && !name.empty()) return code;
  return std::nullopt;
}

}  // namespace tabulon::estate
