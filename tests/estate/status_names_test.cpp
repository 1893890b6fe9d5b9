#include "estate/status_names.h"

#include <gtest/gtest.h>

#include <string>

namespace tabulon::estate {
namespace {

TEST(StatusNames, NamesInAnyCaseAndNumbersInRange) {
  struct Case {
    const char* in;
    std::optional<win::Status> expected;
  };
  const Case cases[] = {
      {"error_access_denied", 5u},  {"1726", 1726u},
      {"987654", 987654u},          {"4294967295", 4294967295u},
      {"4294967296", std::nullopt}, {"", std::nullopt},
      {"5x", std::nullopt},         {"-5", std::nullopt},
      {" 5", std::nullopt},         {"ERROR_OOPS", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(StatusFromName(c.in), c.expected) << c.in;
}

}  // namespace
}  // namespace tabulon::estate
