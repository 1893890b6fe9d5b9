#include "platform/number_format.h"

#include <gtest/gtest.h>

namespace tabulon::platform {
namespace {

NumberFacts English() {
  return NumberFacts{".", ",", "\3", 2};
}

TEST(NumberFormat, GroupsAndRoundsLikeGetNumberFormat) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"1234567", "1,234,567.00"},
      {"123", "123.00"},
      {"1234", "1,234.00"},
      {"-1234.5", "-1,234.50"},
      {"0", "0.00"},
      {"007", "7.00"},
      {".5", "0.50"},
      {"5.", "5.00"},
      {"0.005", "0.01"},
      {"0.0049", "0.00"},
      {"-0.004", "0.00"},
      {"-0.005", "-0.01"},
      {"999.995", "1,000.00"},
      {"99999999999999999999.999", "100,000,000,000,000,000,000.00"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatNumberText(c.in, English()), c.out) << c.in;
}

TEST(NumberFormat, RejectsWhatIsNotADecimalNumber) {
  for (const char* in :
       {"", "-", ".", "-.", "1.2.3", "12a", " 12", "12 ", "+12", "1,000", "--1", "1e5"}) {
    EXPECT_EQ(FormatNumberText(in, English()), std::nullopt) << in;
  }
}

TEST(NumberFormat, LocaleSeparatorsAndGroupings) {
  struct Case {
    NumberFacts facts;
    const char* in;
    const char* out;
  } cases[] = {
      {{",", ".", "\3", 2}, "1234567.891", "1.234.567,89"},
      {{".", ",", "\3\2", 2}, "123456789", "12,34,56,789.00"},
      {{".", ",", "\3\x7f", 2}, "1234567", "1234,567.00"},
      {{".", "", "\3", 2}, "1234567", "1234567.00"},
      {{".", ",", "", 2}, "1234567", "1234567.00"},
      {{".", "\xE2\x80\xAF", "\3", 2},
       "1234",
       "1\xE2\x80\xAF"
       "234.00"},
      {{".", ",", "\3", 0}, "2.5", "3"},
      {{".", ",", "\3", 0}, "-2.5", "-3"},
      {{".", ",", "\3", 3}, "1.5", "1.500"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatNumberText(c.in, c.facts), c.out) << c.in;
}

}  // namespace
}  // namespace tabulon::platform
