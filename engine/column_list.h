#pragma once
// Column lists: comma-separated column numbers in output order. Numbers of
// 1000 and above are export symbols.
#include <cstdint>
#include <string_view>
#include <vector>

namespace tabulon {

// Every item converts like an integer setting, so an empty item (and an
// empty list) gives column 0. Negative numbers and numbers beyond the
// integer range become large unsigned ones: symbol columns beyond the table
// that write empty text.
std::vector<std::uint32_t> ParseColumnList(std::string_view text);

}  // namespace tabulon
