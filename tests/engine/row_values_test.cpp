#include "engine/row_values.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tabulon {
namespace {

struct Rules {
  std::string delimiter = "\t";
  std::string crlf = "~";
  std::string terminator = "\n";
  bool whole = true;
  bool safe = false;
};

std::string Written(const Rules& r, std::string_view value) {
  OutputSettings s;
  s.delimiter = r.delimiter;
  s.crlf_replacement = r.crlf;
  s.line_terminator = r.terminator;
  s.keep_rows_whole = r.whole;
  s.spreadsheet_safe = r.safe;
  std::string row;
  RowValueRules(s).AppendValue(row, value);
  return row;
}

TEST(RowValues, KeptWholeAndSpreadsheetSafe) {
  const Rules tab;
  const Rules comma{","};
  const Rules raw{.whole = false};
  const Rules safe{.safe = true};
  const Rules raw_safe{.whole = false, .safe = true};
  struct Case {
    Rules rules;
    std::string_view value;
    std::string_view written;
  } cases[] = {
      {tab, "plain value, longer than eight bytes", "plain value, longer than eight bytes"},
      {tab, "line one\r\nline two\nthree\r", "line one~~line two~three~"},
      {tab, "a\tb\t\tc", "a b  c"},
      {tab, "caf\xC3\xA9\t\xE2\x82\xAC", "caf\xC3\xA9 \xE2\x82\xAC"},
      {comma, "Smith, John\tJr.", "Smith  John Jr."},
      // The first character of the replacement, as the exporters replace.
      {Rules{.crlf = "\xC3\xA9xyz"}, "a\nb",
       "a\xC3\xA9"
       "b"},
      // An empty replacement drops line breaks rather than the rest.
      {Rules{.crlf = ""}, "one\r\ntwo", "onetwo"},
      // A replacement that is the delimiter is blanked like any delimiter.
      {Rules{",", ","}, "a\nb,c", "a b c"},
      // A delimiter with a blank in it: the replacement is '_'.
      {Rules{"; "}, "x; y;z\tw", "x_y;z_w"},
      {Rules{"\xC2\xA7"},
       "\xC2\xA7"
       "a\xC2\xA7",
       " a "},
      // A delimiter that can overlap itself: "a|" before "||" would split
      // one character early.
      {Rules{"||"}, "a|", "a "},
      {Rules{"||"}, "|x|", "|x "},
      {Rules{"||"}, "a|||b", "a |b"},
      {Rules{"::"}, "12:30", "12:30"},
      // A terminator without a line break is kept out of values too.
      {Rules{.terminator = "$$"}, "cost $$5$", "cost  5 "},
      {raw, "a\tb\r\nc", "a\tb\r\nc"},
      {raw, "=1+1", "=1+1"},
      {safe, "=HYPERLINK(\"x\")", "'=HYPERLINK(\"x\")"},
      {safe, "+1+1", "'+1+1"},
      {safe, "@SUM(A1)", "'@SUM(A1)"},
      {safe, "-2+3", "'-2+3"},
      {safe, "-", "'-"},
      {safe, "-5", "-5"},
      {safe, "-1,234.50", "-1,234.50"},
      {safe, "+1.5E-05", "+1.5E-05"},
      {safe, "a=b", "a=b"},
      // Kept whole first: a leading TAB is a blank, a leading line break the
      // replacement, and only then is the value judged.
      {safe, "\t=x", " =x"},
      {safe, "\r=x", "~=x"},
      {Rules{.crlf = "=", .safe = true}, "\nx", "'=x"},
      {raw_safe, "\t=x", "'\t=x"},
      {raw_safe, "\rx", "'\rx"},
      {Rules{.delimiter = "'", .safe = true}, "=x'y", " =x y"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Written(c.rules, c.value), c.written)
        << "value '" << c.value << "' delimiter '" << c.rules.delimiter << "'";
  }
}

TEST(RowValues, LogFieldsAreKeptWholeButNeverGetAnApostrophe) {
  OutputSettings s;
  s.spreadsheet_safe = true;
  std::string line;
  RowValueRules(s).AppendLogField(line, "=bad\tname\n");
  EXPECT_EQ(line, "=bad name~");
  s.keep_rows_whole = false;
  line.clear();
  RowValueRules(s).AppendLogField(line, "a\tb");
  EXPECT_EQ(line, "a\tb");
}

// Splits `text` at every `separator`, left to right.
std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t at = text.find(separator); at != std::string::npos;
       at = text.find(separator, from)) {
    parts.push_back(text.substr(from, at - from));
    from = at + separator.size();
  }
  parts.push_back(text.substr(from));
  return parts;
}

// Whatever the values hold, a file of kept-whole rows splits back into its
// rows and each row into its columns.
TEST(RowValues, EveryRowSplitsIntoItsColumns) {
  const std::vector<std::pair<std::string, std::string>> layouts = {
      {"\t", "\n"}, {",", "\r\n"}, {"||", "\n"}, {"aba", "\n"}, {"; ", "\n"},
      {"|", "$$"},  {"::", ":\n"}, {"ab", "b|"}, {"'", "\n"},
  };
  const std::string alphabet = "ab|:;$ '\t\r\n,=";
  std::mt19937 random(19);
  for (const auto& [delimiter, terminator] : layouts) {
    OutputSettings s;
    s.delimiter = delimiter;
    s.line_terminator = terminator;
    for (int round = 0; round < 1000; ++round) {
      // Spreadsheet-safe rows are built value by value, the others checked
      // as a whole first.
      s.spreadsheet_safe = round % 2 == 1;
      const RowValueRules rules(s);
      std::string file;
      constexpr int kRows = 3;
      constexpr int kColumns = 4;
      for (int r = 0; r < kRows; ++r) {
        std::vector<std::string> values(kColumns);
        for (std::string& value : values) {
          // Rows longer than 64 bytes now and then, which are checked in
          // blocks.
          const int length = static_cast<int>(random() % (round % 4 == 0 ? 60 : 6));
          for (int i = 0; i < length; ++i) value += alphabet[random() % alphabet.size()];
        }
        std::string row;
        rules.BuildRow(row, [&values](auto&& append) {
          for (const std::string& value : values) append(value);
        });
        file += row + terminator;
      }
      // A file written in text mode ends every line in a LF; the reader
      // splits rows at the terminator, then fields at the delimiter.
      std::vector<std::string> rows = Split(file, terminator);
      ASSERT_EQ(rows.size(), kRows + 1u) << delimiter << " " << file;
      rows.pop_back();
      for (const std::string& row : rows) {
        ASSERT_EQ(Split(row, delimiter).size(), static_cast<std::size_t>(kColumns))
            << "delimiter '" << delimiter << "' row '" << row << "'";
      }
    }
  }
}

}  // namespace
}  // namespace tabulon
