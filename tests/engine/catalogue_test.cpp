#include "engine/catalogue.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace tabulon {
namespace {

// Every column of every export type, as the files' title rows and the column
// chooser show it: log name, column number, key, title. The pinned list is
// the file format; a change to it is a change of every exported file.
TEST(Catalogue, EveryColumnOfEveryType) {
  std::ifstream pinned(TABULON_SOURCE_DIR "/tests/data/catalogue_fields.tsv");
  ASSERT_TRUE(pinned);
  std::stringstream expected;
  expected << pinned.rdbuf();
  std::string actual;
  for (std::uint32_t t = 0; t < kExportTypeCount; ++t) {
    const ExportTypeDescriptor& d = ExportTypeInfo(t);
    EXPECT_EQ(d.has_columns, d.field_count > 0) << d.log_name;
    for (std::uint32_t c = 0; c < d.field_count; ++c) {
      const FieldDescriptor* f = FieldOf(t, c);
      actual += std::string(d.log_name) + '\t' + std::to_string(c) + '\t' + std::string(f->key) +
                '\t' + std::string(f->title) + '\n';
    }
    EXPECT_EQ(FieldOf(t, d.field_count), nullptr) << d.log_name;
  }
  EXPECT_EQ(actual, expected.str());
  EXPECT_EQ(FieldOf(kNoExportType, 0), nullptr);
}

TEST(Catalogue, TableNamesAreUniqueAndComplete) {
  std::set<std::string_view> logs;
  std::set<std::string_view> files;
  for (const auto& d : ExportTypes()) {
    EXPECT_TRUE(logs.insert(d.log_name).second) << d.log_name;
    if (!d.default_file_name.empty()) {
      EXPECT_TRUE(files.insert(d.default_file_name).second);
    }
    EXPECT_TRUE(d.group == 1 || d.group == 2);
    EXPECT_EQ(d.section.empty(), d.output_file_key.empty()) << d.display_name;
  }
  EXPECT_EQ(files.size(), 22u);
}

TEST(Catalogue, ComputerTypeBitsAreDistinctAndMatchTheirFields) {
  const auto rows = ComputerTypes();
  std::uint32_t all = 0;
  for (std::uint32_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(all & rows[i].bit, 0u) << "bit of row " << i << " repeats";
    all |= rows[i].bit;
    EXPECT_EQ(rows[i].field_key, FieldOf(kComputers, 4 + i)->key);
    EXPECT_LE(rows[i].type_name.size(), 19u);
  }
}

TEST(Catalogue, SymbolsAndTitles) {
  EXPECT_TRUE(IsSymbol("%KEY_PATH%"));
  EXPECT_FALSE(IsSymbol("KEY_PATH"));
  EXPECT_FALSE(IsSymbol(""));
  EXPECT_TRUE(IsSymbol("%"));
  EXPECT_EQ(SymbolTitle("%key_path%"), "Registry_Key_Path");
  EXPECT_EQ(SymbolTitle("%EXPORT_DATE_TIME%"), "Date_Time");
  EXPECT_EQ(SymbolTitle("%Custom%"), "Custom");
  EXPECT_EQ(SymbolTitle("%%Custom%%"), "Custom");
  EXPECT_EQ(SymbolAt(17), nullptr);
}

}  // namespace
}  // namespace tabulon
