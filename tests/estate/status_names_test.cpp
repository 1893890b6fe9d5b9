#include "estate/status_names.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/status_table.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

TEST(StatusNames, EveryListedNameLoadsAsItsCodeInAnyCase) {
  for (const auto& row : win::StatusRows()) {
    SCOPED_TRACE(std::string(row.name));
    EXPECT_EQ(StatusFromName(row.name), row.code);
    EXPECT_EQ(StatusFromName(text::ToLower(row.name)), row.code);
    EXPECT_EQ(StatusFromName(std::to_string(row.code)), row.code);
  }
}

TEST(StatusNames, NumbersOutsideTheListAndWhatIsNeither) {
  struct Case {
    const char* in;
    std::optional<win::Status> expected;
  };
  const Case cases[] = {
      {"987654", 987654u},  {"4294967295", 4294967295u},  {"4294967296", std::nullopt},
      {"", std::nullopt},   {"5x", std::nullopt},         {"-5", std::nullopt},
      {" 5", std::nullopt}, {"ERROR_OOPS", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(StatusFromName(c.in), c.expected) << c.in;
}

}  // namespace
}  // namespace tabulon::estate
