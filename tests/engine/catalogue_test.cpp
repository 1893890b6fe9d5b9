#include "engine/catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace tabulon {
namespace {

TEST(Catalogue, TypeBlocksCoverEveryRowExactlyOnce) {
  std::vector<int> owner(kFieldCatalogueSize, -1);
  std::uint32_t total = 0;
  for (std::uint32_t t = 0; t < kExportTypeCount; ++t) {
    const auto& d = ExportTypeInfo(t);
    total += d.field_count;
    EXPECT_EQ(d.has_columns, d.field_count > 0) << "type " << t;
    for (std::uint32_t r = d.first_catalogue_row; r < d.first_catalogue_row + d.field_count; ++r) {
      ASSERT_LT(r, kFieldCatalogueSize);
      EXPECT_EQ(owner[r], -1) << "row " << r << " claimed twice";
      owner[r] = static_cast<int>(t);
    }
  }
  EXPECT_EQ(total, kFieldCatalogueSize);
  for (std::uint32_t r = 0; r < kFieldCatalogueSize; ++r) EXPECT_NE(owner[r], -1) << "row " << r;
}

TEST(Catalogue, KeysAreUniqueWithinATypeExceptTheFileVersionPairs) {
  for (std::uint32_t t = 0; t < kExportTypeCount; ++t) {
    std::multiset<std::string_view> keys;
    for (std::uint32_t c = 0; c < ExportTypeInfo(t).field_count; ++c)
      keys.insert(FieldOf(t, c)->key);
    for (const auto& k : keys) {
      const bool shared_in_files = t == kFiles && (k == "ProductVersion" || k == "FileVersion");
      EXPECT_EQ(keys.count(k), shared_in_files ? 2u : 1u) << "type " << t << " key " << k;
    }
  }
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
