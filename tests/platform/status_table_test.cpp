#include "platform/status_table.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "platform/text.h"
#include "platform/win_error.h"

namespace tabulon::win {
namespace {

// Failure rows and log lines append the text as it is: it must say something
// and carry no white space of its own at either end.
TEST(StatusTable, EveryRowHasANameAndATrimmedText) {
  for (const auto& row : StatusRows()) {
    SCOPED_TRACE(row.code);
    EXPECT_FALSE(row.name.empty());
    ASSERT_FALSE(row.text.empty());
    EXPECT_FALSE(std::isspace(static_cast<unsigned char>(row.text.front())));
    EXPECT_FALSE(std::isspace(static_cast<unsigned char>(row.text.back())));
  }
}

// Names are looked up in any letter case, so they must differ in more than case.
TEST(StatusTable, CodesAndNamesLookUpTheirOwnRow) {
  std::set<std::string> upper_names;
  for (const auto& row : StatusRows()) {
    SCOPED_TRACE(std::string(row.name));
    EXPECT_TRUE(upper_names.insert(text::ToUpper(row.name)).second);
    EXPECT_EQ(FindStatus(row.code), &row);
    EXPECT_EQ(FindStatusByName(row.name), &row);
    EXPECT_EQ(SystemMessageText(row.code), row.text);
  }
  EXPECT_EQ(FindStatusByName("error_access_denied")->code, ERROR_ACCESS_DENIED);
  EXPECT_EQ(FindStatusByName("ERROR_OOPS"), nullptr);
  EXPECT_EQ(FindStatusByName(""), nullptr);
  EXPECT_EQ(FindStatus(7), nullptr);
  EXPECT_EQ(SystemMessageText(7), "");
}

// Whatever errno a C library call leaves, the status reported for it has a text.
TEST(StatusTable, EveryStatusFromErrnoHasARow) {
  for (int error = 0; error < 256; ++error) {
    EXPECT_NE(FindStatus(StatusFromErrno(error)), nullptr) << "errno " << error;
  }
}

}  // namespace
}  // namespace tabulon::win
