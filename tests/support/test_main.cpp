#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>

// Every test program starts in a known locale and time zone; tests that need
// another one set it themselves.
int main(int argc, char** argv) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  ::setenv("LC_ALL", "C.UTF-8", 1);
  std::setlocale(LC_ALL, "C");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
