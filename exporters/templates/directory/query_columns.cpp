#include "exporters/templates/directory/query_columns.h"

#include "engine/catalogue.h"
#include "format/directory_values.h"
#include "platform/text.h"

namespace tabulon {
namespace {

const TseUserField* TerminalField(std::string_view name) {
  for (const TseUserField& field : TseUserFields()) {
    if (text::EqualsNoCase(field.key, name)) return &field;
  }
  return nullptr;
}

}  // namespace

bool SplitColumnNames(std::string_view text, std::size_t limit, std::vector<std::string>& names) {
  names.clear();
  if (text.size() > kMaxColumnListChars) return false;
  std::size_t start = 0;
  std::size_t counted = 0;
  while (start <= text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) comma = text.size();
    const std::string_view name = text.substr(start, comma - start);
    names.emplace_back(name);
    if (!name.empty()) ++counted;
    start = comma + 1;
  }
  return counted <= limit;
}

ColumnPlan PlanColumns(const std::vector<std::string>& names) {
  ColumnPlan plan;
  for (const std::string& name : names) {
    QueryColumn& column = plan.columns.emplace_back();
    column.name = name;
    if (name.empty()) {
      column.kind = QueryColumn::Kind::kEmpty;
    } else if (name.find("tse_") != std::string::npos) {
      column.kind = QueryColumn::Kind::kTerminal;
      column.terminal = TerminalField(name);
      plan.has_terminal = true;
    } else if (IsSymbol(name)) {
      column.kind = QueryColumn::Kind::kSymbol;
    } else {
      column.photo = format::IsPhotoAttribute(name);
      column.account_name = text::EqualsNoCase(name, "samaccountname");
      column.ads_path = text::EqualsNoCase(name, kAdsPathAttribute);
      if (!column.ads_path) plan.requested.push_back(name);
    }
  }
  return plan;
}

}  // namespace tabulon
