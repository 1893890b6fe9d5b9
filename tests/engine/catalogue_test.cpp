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

TEST(Catalogue, KnownBlocks) {
  EXPECT_EQ(ExportTypeInfo(kProtocols).first_catalogue_row, 165u);
  const char* protocol_keys[] = {"ProtocolName", "ProtocolAddress", "ProtocolVCs", "ProtocolWAN",
                                 "ProtocolQOS"};
  for (std::uint32_t c = 0; c < 5; ++c) EXPECT_EQ(FieldOf(kProtocols, c)->key, protocol_keys[c]);
  EXPECT_EQ(FieldOf(kProtocols, 5), nullptr);
  EXPECT_EQ(FieldOf(kServices, 0)->key, "ServiceName");
  EXPECT_EQ(FieldOf(kServices, 7)->title, "Binary Name(s)");
  EXPECT_EQ(FieldOf(kComputers, 28)->key, "Virtual Cluster");
  EXPECT_EQ(FieldOf(kTasksNew, 14)->key, "TaskPrincipal");
  EXPECT_EQ(ExportTypeInfo(kShareConnections).section, "ExportShareConnections");
  EXPECT_EQ(ExportTypeInfo(kNetwork).default_file_name, "networks.txt");
}

TEST(Catalogue, NoTypePlaceholder) {
  EXPECT_EQ(ExportTypeInfo(kNoExportType).page_index, 0u);
  EXPECT_EQ(ExportTypeInfo(kNoExportType).field_count, 0u);
  EXPECT_EQ(FieldOf(kNoExportType, 0), nullptr);
}

TEST(Catalogue, DefaultColumnLists) {
  EXPECT_EQ(DefaultColumnList(kServices), "1002,0,1,2,3,4,5,6,7");
  std::string computers = "1002";
  for (int c = 0; c <= 28; ++c) computers += "," + std::to_string(c);
  EXPECT_EQ(DefaultColumnList(kComputers), computers);
  const std::string users = DefaultColumnList(kUsers);
  EXPECT_TRUE(users.ends_with(",23,24")) << users;
  for (auto t : {kRegistry, kWmi, kDirectory}) EXPECT_EQ(DefaultColumnList(t), "1002");
}

TEST(Catalogue, ComputerTypeTableKeepsItsOwnOrder) {
  const auto rows = ComputerTypes();
  EXPECT_EQ(rows[12].bit, 0x4000u);
  EXPECT_EQ(rows[13].bit, 0x1000u);
  EXPECT_EQ(rows[22].type_name, "TSE");
  EXPECT_EQ(rows[23].bit, 0x01000000u);
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
  EXPECT_EQ(SymbolAt(2)->symbol, "%OBJECT_PATH%");
  EXPECT_EQ(SymbolAt(16)->symbol, "%SID_NAME%");
  EXPECT_EQ(SymbolAt(17), nullptr);
  int registry_only = 0;
  for (const auto& s : ExportSymbols()) registry_only += s.registry_only ? 1 : 0;
  EXPECT_EQ(registry_only, 8);
}

}  // namespace
}  // namespace tabulon
