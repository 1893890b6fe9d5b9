#include "platform/text.h"

#include <gtest/gtest.h>

namespace tabulon::text {
namespace {

TEST(Text, Utf16RoundTripKeepsAstralCharacters) {
  const std::string s = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // A é € 😀
  const std::string utf16 = Utf8ToUtf16Le(s);
  EXPECT_EQ(utf16.size(), 2u * 5u);
  EXPECT_EQ(Utf16LeToUtf8(utf16), s);
}

TEST(Text, BrokenInputNeverFails) {
  EXPECT_EQ(Utf16LeToUtf8(std::string("\x00\xD8", 2)), "\xEF\xBF\xBD");  // lone surrogate
  EXPECT_FALSE(IsValidUtf8("\xC3"));
  EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));  // overlong
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_EQ(EightBitToUtf8("caf\xE9"), "caf\xC3\xA9");
}

TEST(Text, EightBitOutputKeepsLatin1AndReplacesTheRest) {
  EXPECT_EQ(Utf8ToLatin1("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 ?");
}

TEST(Text, CaseInsensitiveComparisons) {
  EXPECT_TRUE(EqualsNoCase("Services", "SERVICES"));
  EXPECT_TRUE(EqualsNoCase("\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"));
  EXPECT_FALSE(EqualsNoCase("abc", "abcd"));
  EXPECT_TRUE(StartsWithNoCase("Spooler", "SPOOL"));
  EXPECT_TRUE(EndsWithNoCase("Spooler", "LER"));
  EXPECT_FALSE(EndsWithNoCase("er", "ler"));
  EXPECT_EQ(ToUpper("c:\\data\\\xC3\xA9"), "C:\\DATA\\\xC3\x89");
}

TEST(Text, LeadingIntegerParsing) {
  struct Case {
    const char* in;
    long long out;
  } cases[] = {{"20abc", 20},  {"", 0},   {"abc", 0},
               {"  -15", -15}, {"+7", 7}, {"99999999999999999999999", 9223372036854775807LL}};
  for (const auto& c : cases) EXPECT_EQ(ParseLeadingInteger(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace tabulon::text
