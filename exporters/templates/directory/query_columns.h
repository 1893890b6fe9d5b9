#pragma once
// The columns of a directory query or of its member and group rows: which
// entries are directory attributes, symbols or terminal-server settings,
// and which attributes the search asks the server for.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "exporters/toolkit/terminal_user_fields.h"

namespace tabulon {

// At most this many names in a query's attribute list, and in a member or
// group column list; neither list may be longer than kMaxColumnListChars.
inline constexpr std::size_t kMaxQueryAttributes = 85;
inline constexpr std::size_t kMaxMembershipColumns = 76;
inline constexpr std::size_t kMaxColumnListChars = 1023;

// Two symbols only member and group rows know.
inline constexpr std::string_view kIsPrimarySymbol = "%IS_PRIMARY%";
inline constexpr std::string_view kIndirectParentSymbol = "%INDIRECT_MEMBER_PARENT%";
// Not stored by the directory: made from the server and the DN.
inline constexpr std::string_view kAdsPathAttribute = "adspath";

struct QueryColumn {
  // kEmpty: an empty entry of the list, an empty column as in the title row.
  enum class Kind { kAttribute, kSymbol, kTerminal, kEmpty };
  Kind kind = Kind::kAttribute;
  std::string name;
  // kTerminal: the field of that name; null for a name the table lacks.
  const TseUserField* terminal = nullptr;
  // kAttribute: what the name is, known once rather than asked per row.
  bool photo = false;
  bool account_name = false;  // samaccountname
  bool ads_path = false;
};

struct ColumnPlan {
  std::vector<QueryColumn> columns;
  std::vector<std::string> requested;  // attribute names for the search
  bool has_terminal = false;
};

// Splits at ","; an empty entry stays, as the empty column the title row
// has for it. False when the text is longer than kMaxColumnListChars or
// holds more than `limit` names (empty entries not counted).
bool SplitColumnNames(std::string_view text, std::size_t limit, std::vector<std::string>& names);

ColumnPlan PlanColumns(const std::vector<std::string>& names);

}  // namespace tabulon
