#pragma once
// What the row writer does to the values of a row. Servers hand out names,
// descriptions and data with line breaks, TABs and delimiters in them; with
// KeepRowsWhole every value is made to fit its column, so that each row
// splits into its title row's column count. With SpreadsheetSafe a value
// that a spreadsheet would run as a formula gets a leading apostrophe.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/output_settings.h"

namespace tabulon {

class RowValueRules {
 public:
  RowValueRules() : RowValueRules(OutputSettings{}) {}
  explicit RowValueRules(const OutputSettings& settings);

  // True when `settings` would give these rules; asked once a row.
  bool Matches(const OutputSettings& settings) const {
    return settings.keep_rows_whole == keep_rows_whole_ &&
           settings.spreadsheet_safe == spreadsheet_safe_ &&
           SameText(settings.delimiter, delimiter_) &&
           SameText(settings.crlf_replacement, crlf_replacement_) &&
           SameText(settings.line_terminator, line_terminator_);
  }

  // Assembles a row into `row`: `for_each_value(append)` calls
  // append(value) for each value in order, and BuildRow puts the delimiter
  // between them. A row that needs nothing, as good as every row, is
  // checked in one pass over its bytes; any other is assembled again from
  // its changed values.
  template <typename ForEachValue>
  void BuildRow(std::string& row, ForEachValue&& for_each_value) const {
    std::size_t count = 0;
    bool suspect = false;
    row.clear();
    for_each_value([&row, &count, &suspect, this](std::string_view value) {
      if (count++ > 0) row += delimiter_;
      if (check_first_bytes_ && !value.empty() &&
          first_bytes_[static_cast<unsigned char>(value[0])]) {
        suspect = true;
      }
      row += value;
    });
    // Every delimiter holds its own watched bytes; any more are in values.
    if (!suspect && (!keep_rows_whole_ || count == 0 ||
                     WatchedBytes(row) == (count - 1) * delimiter_watched_)) {
      return;
    }
    row.clear();
    count = 0;
    for_each_value([&row, &count, this](std::string_view value) {
      if (count++ > 0) row += delimiter_;
      AppendValue(row, value);
    });
  }

  // Appends one value of an output row.
  void AppendValue(std::string& row, std::string_view value) const;
  // Appends a field of a log line: kept whole, never given an apostrophe.
  void AppendLogField(std::string& line, std::string_view value) const;

  // A sign, digits with '.' or ',' between them, an exponent: what a
  // spreadsheet reads as a number, never as a formula.
  static bool IsPlainNumber(std::string_view value);

 private:
  // Texts of a character or two: a plain loop rather than a call.
  static bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (a[i] != b[i]) return false;
    }
    return true;
  }
  static bool StartsLikeFormula(char c) {
    return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
  }
  // The bytes of `text` that are control characters (line breaks and TABs
  // among them) or the first byte of a separator.
  std::size_t WatchedBytes(std::string_view text) const;
  // Whether the separators before a value could run on into one that
  // starts with `first`.
  void WatchFirstBytes();
  bool NeedsWork(std::string_view value) const;
  void AppendChanged(std::string& row, std::string_view value, bool spreadsheet_safe) const;
  // The value with line breaks, TABs and separators replaced.
  std::string Whole(std::string_view value) const;
  // Blanks the first or last character of `value` where it and the
  // separator beside it could be read as another separator.
  void GuardEdges(std::string& value) const;

  bool keep_rows_whole_ = true;
  bool spreadsheet_safe_ = false;
  // The settings these rules come from.
  std::string delimiter_;
  std::string crlf_replacement_;
  std::string line_terminator_;
  // What a CR or LF becomes: the first character of CrLfReplacement.
  std::string line_break_;
  // The texts that split a file into rows and fields and that no value may
  // hold: the delimiter, and the line terminator when it has no line break.
  std::vector<std::string> separators_;
  // What a TAB or a separator becomes: a blank, unless a separator has one.
  char blank_ = ' ';
  // The first bytes of the separators in every byte of a word; a TAB (a
  // control character anyway) where there are fewer.
  std::array<std::uint64_t, 2> separator_firsts_{};
  // Whether a separator starts with a byte that is no control character.
  bool printable_separator_ = false;
  // How many watched bytes one delimiter holds.
  std::size_t delimiter_watched_ = 0;
  // First bytes that may complete a separator begun by the one before.
  std::array<bool, 256> watched_first_{};
  // First bytes that make a value worth a closer look: those, and the
  // formula characters when spreadsheet-safe.
  std::array<bool, 256> first_bytes_{};
  bool check_first_bytes_ = false;
};

}  // namespace tabulon
