#include "engine/symbols.h"

#include <gtest/gtest.h>

#include "engine/error_text.h"

namespace tabulon {
namespace {

class SymbolsTest : public ::testing::Test {
 protected:
  SymbolsTest() {
    target_.type = 24;
    target_.display_name = "PC1";
    target_.path = "\\\\PC1";
    target_.comment = "Front desk";
    target_.domain = "CORP";
    target_.major_version = 10;
    target_.minor_version = 0;
    target_.server_type = 0x1003;
    context_.target = &target_;
    context_.template_name = "Run keys";
    context_.key_path = "SOFTWARE\\Microsoft\\Run";
    context_.last_write_time = "3/5/2026 14:07:09";
    context_.export_date_time = "03/05/26 14:07";
    context_.sid_to_account = [this](std::string_view computer, std::string& text) {
      lookups_.emplace_back(computer);
      if (text != "S-1-5-21-1-2-3-1001") return false;
      text = "CORP\\alice";
      return true;
    };
  }
  tagCObjects target_;
  SymbolContext context_;
  std::vector<std::string> lookups_;
};

TEST_F(SymbolsTest, TableSymbols) {
  struct Case {
    const char* symbol;
    const char* value;
  } cases[] = {
      {"%KEY_PATH%", "SOFTWARE\\Microsoft\\Run"},
      {"%key_name%", "Run"},
      {"%OBJECT_PATH%", "\\\\PC1"},
      {"%OBJECT_NAME%", "PC1"},
      {"%OBJECT_COMMENT%", "Front desk"},
      {"%OBJECT_TYPE%", "24"},
      {"%OBJECT_DOMAIN%", "CORP"},
      {"%TEMPLATE_NAME%", "Run keys"},
      {"%LAST_KEY_WRITE_TIME%", "3/5/2026 14:07:09"},
      {"%COMPUTER_VERSION_MAJOR%", "10"},
      {"%COMPUTER_VERSION_MINOR%", "0"},
      {"%COMPUTER_TYPE%", "WORKSTATION^SERVER^NT"},
      {"%EXPORT_DATE_TIME%", "03/05/26 14:07"},
      {"%VALUE%", ""},
      {"%NOT_A_SYMBOL%", ""},
      {"KEY_PATH", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(EvaluateSymbol(c.symbol, context_), c.value) << c.symbol;
}

TEST_F(SymbolsTest, KeyNameNeedsABackslash) {
  context_.key_path = "SOFTWARE";
  EXPECT_EQ(EvaluateSymbol("%KEY_NAME%", context_), "");
}

TEST_F(SymbolsTest, ComputerTypeUsesTableOrderAndSecondaryDelimiter) {
  target_.server_type = 0x4000 | 0x1000 | 0x02000000 | 0x01000000;
  context_.secondary_delimiter = ";";
  EXPECT_EQ(EvaluateSymbol("%COMPUTER_TYPE%", context_), "MFPN;NT;TSE;CLUSTER");
}

TEST_F(SymbolsTest, SidName) {
  context_.key_path = "HKU\\S-1-5-21-1-2-3-1001\\Software";
  EXPECT_EQ(EvaluateSymbol("%SID_NAME%", context_), "CORP\\alice");
  EXPECT_EQ(lookups_, (std::vector<std::string>{"\\\\PC1"}));
  context_.key_path = "S-1-5-21-9\\Software";
  EXPECT_EQ(EvaluateSymbol("%SID_NAME%", context_), "S-1-5-21-9");
  context_.key_path = "SOFTWARE\\Classes";
  EXPECT_EQ(EvaluateSymbol("%SID_NAME%", context_), "");
}

TEST(ErrorTexts, Directory) {
  EXPECT_EQ(DirectoryErrorText(0, std::nullopt), "Success");
  EXPECT_EQ(DirectoryErrorText(1, std::nullopt), "Success");
  EXPECT_EQ(DirectoryErrorText(static_cast<std::int32_t>(0x80005000u), std::nullopt),
            "E_ADS_BAD_PATHNAME");
  EXPECT_EQ(DirectoryErrorText(static_cast<std::int32_t>(0x80005010u), std::nullopt),
            "E_ADS_COLUMN_NOT_SET");
  EXPECT_EQ(DirectoryErrorText(static_cast<std::int32_t>(0x80005014u), std::nullopt),
            "E_ADS_INVALID_FILTER");
  EXPECT_EQ(DirectoryErrorText(static_cast<std::int32_t>(0x80005012u), std::nullopt), "");
  EXPECT_EQ(DirectoryErrorText(static_cast<std::int32_t>(0x80040E37u), std::nullopt), "80040E37");
  EXPECT_EQ(DirectoryErrorText(static_cast<std::int32_t>(0x80070005u), std::nullopt),
            "Access was denied.");
  EXPECT_EQ(DirectoryErrorText(static_cast<std::int32_t>(0x80070FFFu), std::nullopt),
            "Error -2147020801");
  const DirectoryExtendedError ext{8333, "0000208D: NameErr: DSID-0310020A", "LDAP Provider"};
  EXPECT_EQ(DirectoryErrorText(static_cast<std::int32_t>(0x80072030u), ext),
            "There is no such object on the server.  -- Extended Error --- LDAP Provider : "
            "0000208D: NameErr: DSID-0310020A");
  const DirectoryExtendedError ignored{13, "text", "LDAP Provider"};
  EXPECT_EQ(DirectoryErrorText(static_cast<std::int32_t>(0x80070005u), ignored),
            "Access was denied.");
}

}  // namespace
}  // namespace tabulon
