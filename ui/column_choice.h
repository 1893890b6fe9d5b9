#pragma once
// The column list of one export type while its columns are being chosen:
// the chosen columns in output order, each kept as it was written, and the
// columns still available to choose.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon::ui {

struct ChosenColumn {
  std::uint32_t column = 0;
  std::string written;  // the list's item as read, so an untouched list is written back unchanged
};

class ColumnChoiceModel {
 public:
  // An empty text is an empty choice; every other item reads as a run reads it.
  ColumnChoiceModel(std::uint32_t export_type, std::string_view text);

  std::uint32_t export_type() const { return type_; }
  const std::vector<ChosenColumn>& chosen() const { return chosen_; }
  // The type's catalogue columns that are not chosen, in catalogue order,
  // then the symbol columns offered for every type that are not chosen.
  std::vector<std::uint32_t> Available() const;

  // Inserts `column` at `position` (at the end when beyond it); its index.
  std::size_t Add(std::uint32_t column, std::size_t position);
  void Remove(std::size_t index);
  // False when the column is already first (last) or there is none.
  bool MoveUp(std::size_t index);
  bool MoveDown(std::size_t index);

  // The column list text: the items comma-separated, in output order.
  std::string Text() const;

 private:
  std::uint32_t type_;
  std::vector<ChosenColumn> chosen_;
};

// What the chooser shows for a column: the field's title, a symbol's name,
// or for a number that is neither, a note saying so.
std::string ColumnTitle(std::uint32_t export_type, std::uint32_t column);
// True for a catalogue column of the type or a symbol of the table.
bool KnownColumn(std::uint32_t export_type, std::uint32_t column);

}  // namespace tabulon::ui
