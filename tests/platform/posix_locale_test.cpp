#include "platform/posix/locale.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <clocale>

#include "platform/c_time_format.h"
#include "support/scoped_env.h"

namespace tabulon::platform {
namespace {

using tabulon::testing::ScopedEnv;

bool Installed(const char* name) {
  const locale_t loc = ::newlocale(LC_ALL_MASK, name, nullptr);
  if (loc == nullptr) return false;
  ::freelocale(loc);
  return true;
}

SystemTime March5() {
  SystemTime t;
  t.year = 2024;
  t.month = 3;
  t.day = 5;
  t.hour = 13;
  t.minute = 5;
  t.second = 9;
  t.day_of_week = 2;
  return t;
}

TEST(PosixLocale, DateOrderFromShortDatePicture) {
  struct Case {
    const char* picture;
    const char* order;
    const char* separator;
  } cases[] = {
      {"%m/%d/%y", "0", "/"},
      {"%d.%m.%Y", "1", "."},
      {"%Y-%m-%d", "2", "-"},
      {"%D", "0", "/"},
      {"%F", "2", "-"},
      {"%e/%m/%Y", "1", "/"},
      {"%-d. %-m. %Y", "1", ". "},
      {"%Od.%Om.%EY", "1", "."},
      {"%Y\xE5\xB9\xB4%m\xE6\x9C\x88%d\xE6\x97\xA5", "2", "\xE5\xB9\xB4"},
      {"%Y%m%d", "2", ""},
      {"%d%%%m", "1", "%"},
      {"%a %d %b %Y", "1", " "},
      {"%d//--%m", "1", "//-"},  // cut to three characters
      {"", "0", "/"},
  };
  for (const auto& c : cases) {
    const DateOrderFacts facts = DateOrderFromPicture(c.picture);
    EXPECT_EQ(facts.order_code, c.order) << c.picture;
    EXPECT_EQ(facts.separator, c.separator) << c.picture;
  }
}

TEST(PosixLocale, CUtf8) {
  const auto locale = MakePosixLocale("C.UTF-8");
  ASSERT_NE(locale, nullptr);
  EXPECT_EQ(locale->DateOrderCode(), "0");
  EXPECT_EQ(locale->DateSeparator(), "/");
  EXPECT_EQ(locale->FormatDate(March5(), "dddd, MMMM d, yyyy"), "Tuesday, March 5, 2024");
  EXPECT_EQ(locale->FormatNumber("1234567.125"), "1234567.13");
  EXPECT_EQ(locale->FormatNumber("12 apples"), std::nullopt);
  EXPECT_EQ(locale->WeekdayName(6), "Saturday");
  EXPECT_EQ(locale->WeekdayName(7), "");

  SystemTime bad = March5();
  bad.month = 2;
  bad.day = 30;
  EXPECT_EQ(locale->FormatDate(bad, ""), std::nullopt);
  EXPECT_EQ(locale->FormatTime(bad, ""), "13:05:09");
  bad = March5();
  bad.hour = 24;
  EXPECT_EQ(locale->FormatTime(bad, ""), std::nullopt);
}

TEST(PosixLocale, ProcessLocaleComesFromTheEnvironment) {
  ScopedEnv all("LC_ALL", nullptr);
  ScopedEnv lang("LANG", "C.UTF-8");
  ScopedEnv time("LC_TIME", nullptr);
  const auto locale = MakeProcessLocale();
  ASSERT_NE(locale, nullptr);
  EXPECT_EQ(locale->FormatDate(March5(), ""), "03/05/24");
}

TEST(PosixLocale, MissingLocaleFallsBackToC) {
  ScopedEnv all("LC_ALL", "xx_NOWHERE.UTF-8");
  ASSERT_FALSE(Installed("xx_NOWHERE.UTF-8"));
  const auto locale = MakeProcessLocale();
  ASSERT_NE(locale, nullptr);
  EXPECT_EQ(locale->DateOrderCode(), "0");
  EXPECT_EQ(locale->FormatDate(March5(), ""), "03/05/24");
  EXPECT_EQ(locale->FormatNumber("1234"), "1234.00");
  EXPECT_EQ(locale->WeekdayName(1), "Monday");
}

TEST(PosixLocale, German) {
  if (!Installed("de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  const auto locale = MakePosixLocale("de_DE.UTF-8");
  EXPECT_EQ(locale->DateOrderCode(), "1");
  EXPECT_EQ(locale->DateSeparator(), ".");
  EXPECT_EQ(locale->FormatDate(March5(), ""), "05.03.2024");
  EXPECT_EQ(locale->FormatDate(March5(), "dddd, d. MMMM"), "Dienstag, 5. M\xC3\xA4rz");
  EXPECT_EQ(locale->FormatNumber("1234567.5"), "1.234.567,50");
  EXPECT_EQ(locale->WeekdayName(0), "Sonntag");
}

TEST(CTimeFormat, IgnoresTheProcessLocaleAndHonoursTheBuffer) {
  const std::tm tm = TmFromSystemTime(March5());
  if (Installed("de_DE.UTF-8")) {
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(FormatTmInCLocale("%x %p %A", tm, 128), "03/05/24 PM Tuesday");
    std::setlocale(LC_ALL, "C");
  }
  EXPECT_EQ(FormatTmInCLocale("%x %I:%M %p", tm, 128), "03/05/24 01:05 PM");
  const std::string fits(127, 'x');
  EXPECT_EQ(FormatTmInCLocale(fits, tm, 128), fits);
  EXPECT_EQ(FormatTmInCLocale(fits + "x", tm, 128), "");
  // The buffer counts characters, not bytes.
  std::string wide;
  for (int i = 0; i < 127; ++i) wide += "\xC3\xA9";
  EXPECT_EQ(FormatTmInCLocale(wide, tm, 128), wide);
  EXPECT_EQ(FormatTmInCLocale("", tm, 128), "");
}

}  // namespace
}  // namespace tabulon::platform
