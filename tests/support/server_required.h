#pragma once
// A test that needs a real server it could not start. On a developer's
// machine without the packages or privileges it is skipped with the reason;
// where TABULON_REQUIRE_SERVERS=1 (CI sets it) it fails, so that a broken
// server setup never passes as a row of skipped tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace tabulon::testing {

inline bool ServersRequired() {
  const char* value = std::getenv("TABULON_REQUIRE_SERVERS");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

}  // namespace tabulon::testing

#define SKIP_WITHOUT_SERVER(why)                                \
  do {                                                          \
    if (::tabulon::testing::ServersRequired()) {                \
      FAIL() << "the test's server could not start: " << (why); \
    }                                                           \
    GTEST_SKIP() << (why);                                      \
  } while (false)
