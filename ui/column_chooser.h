#pragma once
// "Configure Export Output Fields": the columns of one or two export types
// (a page with two outputs offers both), chosen from the type's catalogue
// fields and the export symbols, in output order.
#include <cstdint>
#include <string>
#include <vector>

class QWidget;

namespace tabulon::ui {

struct ColumnChoice {
  std::uint32_t export_type = 0;
  std::string columns;  // the column list text: field indexes, comma-separated
};

// Edits every choice's `columns`; true when closed with Close (the caller
// stores them), false when cancelled.
bool ChooseColumns(QWidget* parent, std::vector<ColumnChoice>& choices);

}  // namespace tabulon::ui
