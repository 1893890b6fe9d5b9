#pragma once
// Values of the export symbols ("%OBJECT_PATH%" ...) that any column list
// may hold.
#include <functional>
#include <string>
#include <string_view>

#include "engine/target.h"

namespace tabulon {

// What a symbol is computed from; callers fill what they have.
struct SymbolContext {
  const tagCObjects* target = nullptr;
  std::string_view template_name;
  std::string_view key_path;
  std::string_view last_write_time;
  std::string_view export_date_time;
  std::string_view secondary_delimiter = "^";
  // Replaces a string SID by "domain\name" as seen from `computer`; returns
  // false and leaves the text alone when it does not resolve.
  std::function<bool(std::string_view computer, std::string& text)> sid_to_account;
};

// Case-insensitive match against the symbol table; unknown symbols give "".
std::string EvaluateSymbol(std::string_view symbol, const SymbolContext& context);
// Value of symbol number `n` of the table (symbol column 1000 + n).
std::string EvaluateSymbolAt(std::uint32_t n, const SymbolContext& context);

}  // namespace tabulon
