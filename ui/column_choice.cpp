#include "ui/column_choice.h"

#include <algorithm>

#include "engine/catalogue.h"
#include "engine/column_list.h"

namespace tabulon::ui {
namespace {

std::vector<std::string_view> Items(std::string_view text) {
  std::vector<std::string_view> items;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(',', start)) != std::string_view::npos; start = end + 1) {
    items.push_back(text.substr(start, end - start));
  }
  items.push_back(text.substr(start));
  return items;
}

}  // namespace

ColumnChoiceModel::ColumnChoiceModel(std::uint32_t export_type, std::string_view text)
    : type_(export_type) {
  if (text.empty()) return;
  const std::vector<std::uint32_t> columns = ParseColumnList(text);
  const std::vector<std::string_view> items = Items(text);
  for (std::size_t i = 0; i < columns.size() && i < items.size(); ++i) {
    chosen_.push_back({columns[i], std::string(items[i])});
  }
}

std::vector<std::uint32_t> ColumnChoiceModel::Available() const {
  auto is_chosen = [this](std::uint32_t column) {
    return std::any_of(chosen_.begin(), chosen_.end(),
                       [column](const ChosenColumn& c) { return c.column == column; });
  };
  std::vector<std::uint32_t> available;
  for (std::uint32_t c = 0; c < ExportTypeInfo(type_).field_count; ++c) {
    if (!is_chosen(c)) available.push_back(c);
  }
  const auto symbols = ExportSymbols();
  for (std::uint32_t n = 0; n < symbols.size(); ++n) {
    const std::uint32_t column = kSymbolColumnBase + n;
    if (!symbols[n].registry_only && !is_chosen(column)) available.push_back(column);
  }
  return available;
}

std::size_t ColumnChoiceModel::Add(std::uint32_t column, std::size_t position) {
  position = std::min(position, chosen_.size());
  chosen_.insert(chosen_.begin() + static_cast<std::ptrdiff_t>(position),
                 ChosenColumn{column, std::to_string(column)});
  return position;
}

void ColumnChoiceModel::Remove(std::size_t index) {
  if (index < chosen_.size()) chosen_.erase(chosen_.begin() + static_cast<std::ptrdiff_t>(index));
}

bool ColumnChoiceModel::MoveUp(std::size_t index) {
  if (index == 0 || index >= chosen_.size()) return false;
  std::swap(chosen_[index - 1], chosen_[index]);
  return true;
}

bool ColumnChoiceModel::MoveDown(std::size_t index) {
  if (index + 1 >= chosen_.size()) return false;
  std::swap(chosen_[index], chosen_[index + 1]);
  return true;
}

std::string ColumnChoiceModel::Text() const {
  std::string text;
  for (std::size_t i = 0; i < chosen_.size(); ++i) {
    if (i > 0) text += ',';
    text += chosen_[i].written;
  }
  return text;
}

std::string ColumnTitle(std::uint32_t export_type, std::uint32_t column) {
  if (const FieldDescriptor* field = FieldOf(export_type, column)) return std::string(field->title);
  if (column >= kSymbolColumnBase) {
    if (const ExportSymbol* symbol = SymbolAt(column - kSymbolColumnBase)) {
      return std::string(symbol->name);
    }
  }
  return "Unknown column " + std::to_string(column);
}

bool KnownColumn(std::uint32_t export_type, std::uint32_t column) {
  return FieldOf(export_type, column) != nullptr ||
         (column >= kSymbolColumnBase && SymbolAt(column - kSymbolColumnBase) != nullptr);
}

}  // namespace tabulon::ui
