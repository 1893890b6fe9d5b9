#include "format/time_texts.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>

#include "mocks.h"
#include "platform/posix/locale.h"
#include "support/scoped_env.h"

namespace tabulon::format {
namespace {

using tabulon::testing::ScopedEnv;
using ::testing::_;
using ::testing::Return;

constexpr std::uint32_t kNov14 = 1700000000;  // 2023-11-14 22:13:20 UTC
constexpr const char* kPlusTwo = "XST-2";     // two hours east of UTC, no DST

platform::SystemTime At(int year, int month, int day, int hour, int minute, int second) {
  platform::SystemTime t;
  t.year = year;
  t.month = month;
  t.day = day;
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  return t;
}

platform::FileTime FileTimeAt(int year, int month, int day, int hour, int minute, int second) {
  return platform::SystemTimeToFileTime(At(year, month, day, hour, minute, second)).value();
}

FormatSettings DayFirst(const char* separator) {
  FormatSettings s;
  s.month_first = false;
  s.date_separator = separator;
  return s;
}

FormatSettings Custom(std::string date, std::string time = "") {
  FormatSettings s;
  s.custom_date_format = std::move(date);
  s.custom_time_format = std::move(time);
  return s;
}

TEST(FormatEpochTime, Pictures) {
  FormatSettings no_separator;
  no_separator.date_separator = "";
  struct Case {
    std::uint32_t seconds;
    FormatSettings settings;
    const char* out;
  } cases[] = {
      {0, FormatSettings{}, "NEVER"},
      {0, Custom("%Y"), "NEVER"},
      {kNov14, FormatSettings{}, "11/14/2023 10:13:20 PM"},
      {kNov14, DayFirst("."), "14.11.2023 10:13:20 PM"},
      {kNov14, no_separator, "11142023 10:13:20 PM"},
      {kNov14, Custom("%Y-%m-%d"), "2023-11-14"},
      {kNov14, Custom("%A, %B %d"), "Tuesday, November 14"},
      {kNov14, Custom("%x"), "11/14/23"},
      {4294967295u, FormatSettings{}, "02/07/2106 06:28:15 AM"},
      {kNov14, Custom(std::string(128, 'x')), ""},  // does not fit 128 characters
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatEpochTime(c.seconds, true, c.settings), c.out) << c.out;
  }
  EXPECT_EQ(FormatEpochTime(kNov14, true, Custom(std::string(127, 'x'))), std::string(127, 'x'));
}

TEST(FormatEpochTime, LocalOrUtcBreakdown) {
  ScopedEnv tz("TZ", kPlusTwo);
  EXPECT_EQ(FormatEpochTime(kNov14, false, FormatSettings{}), "11/15/2023 12:13:20 AM");
  EXPECT_EQ(FormatEpochTime(kNov14, true, FormatSettings{}), "11/14/2023 10:13:20 PM");
}

TEST(FormatEpochTime, LocaleOrderDecidesThePicture) {
  struct Case {
    const char* order;
    const char* separator;
    bool month_first;
    const char* out;
  } cases[] = {
      {"0", "/", true, "11/14/2023 10:13:20 PM"},
      {"1", ".", false, "14.11.2023 10:13:20 PM"},
      {"2", "-", false, "14-11-2023 10:13:20 PM"},  // year first still gives day first
      {"", "/", false, "14/11/2023 10:13:20 PM"},
      {"0", "::::", true, "11:::14:::2023 10:13:20 PM"},
  };
  for (const auto& c : cases) {
    MockLocale locale;
    EXPECT_CALL(locale, DateOrderCode()).WillRepeatedly(Return(c.order));
    EXPECT_CALL(locale, DateSeparator()).WillRepeatedly(Return(c.separator));
    FormatSettings settings;
    settings.month_first = !c.month_first;
    ApplyLocaleDateOrder(locale, settings);
    EXPECT_EQ(settings.month_first, c.month_first) << c.order;
    EXPECT_EQ(FormatEpochTime(kNov14, true, settings), c.out) << c.order;
  }
}

TEST(FormatFileTime, LocalShortDateAndLongTime) {
  const auto locale = platform::MakePosixLocale("C.UTF-8");
  EXPECT_EQ(FormatFileTime(FileTimeAt(2024, 3, 5, 13, 5, 9), *locale), "03/05/24 13:05:09");
  EXPECT_EQ(FormatFileTime(-1, *locale), " ");
  ScopedEnv tz("TZ", kPlusTwo);
  EXPECT_EQ(FormatFileTime(FileTimeAt(2024, 3, 5, 23, 30, 0), *locale), "03/06/24 01:30:00");
}

TEST(FormatFileTime, FailedPartsLeaveTheBlank) {
  MockLocale locale;
  EXPECT_CALL(locale, FormatDate(_, std::string_view()))
      .WillOnce(Return(std::nullopt))
      .WillOnce(Return(std::string(100, 'd')))
      .WillOnce(Return("D"));
  EXPECT_CALL(locale, FormatTime(_, std::string_view()))
      .WillOnce(Return("T"))
      .WillOnce(Return("T"))
      .WillOnce(Return(std::nullopt));
  const platform::FileTime t = FileTimeAt(2024, 3, 5, 13, 5, 9);
  EXPECT_EQ(FormatFileTime(t, locale), " T");
  EXPECT_EQ(FormatFileTime(t, locale), " T");
  EXPECT_EQ(FormatFileTime(t, locale), "D ");
}

TEST(FormatSystemTime, PicturesZoneAndFailures) {
  const auto locale = platform::MakePosixLocale("C.UTF-8");
  const platform::SystemTime t = At(2024, 3, 5, 13, 5, 9);
  platform::SystemTime bad_date = t;
  bad_date.month = 13;
  platform::SystemTime bad_time = t;
  bad_time.hour = 25;
  const std::string long_text(99, 'x');
  struct Case {
    platform::SystemTime time;
    FormatSettings settings;
    const char* out;
  } cases[] = {
      {t, FormatSettings{}, "03/05/24 13:05:09"},
      {t, Custom("yyyy-MM-dd", "HH:mm"), "2024-03-05 13:05"},
      {t, Custom("dddd d MMMM", "h:mm tt"), "Tuesday 5 March 1:05 PM"},
      {bad_date, FormatSettings{}, " 13:05:09"},
      {bad_time, FormatSettings{}, "03/05/24"},
      {t, Custom("'" + long_text + "'"), nullptr},
      {t, Custom("'" + long_text + "x'"), " 13:05:09"},
  };
  for (const auto& c : cases) {
    const std::string expected = c.out != nullptr ? c.out : long_text + " 13:05:09";
    EXPECT_EQ(FormatSystemTime(c.time, false, c.settings, *locale), expected);
  }
  ScopedEnv tz("TZ", kPlusTwo);
  EXPECT_EQ(FormatSystemTime(t, true, FormatSettings{}, *locale), "03/05/24 15:05:09");
  EXPECT_EQ(FormatSystemTime(t, false, FormatSettings{}, *locale), "03/05/24 13:05:09");
}

TEST(FormatLocalFileTime, EmptyForNonPositiveAndImpossibleValues) {
  const auto locale = platform::MakePosixLocale("C.UTF-8");
  EXPECT_EQ(FormatLocalFileTime(0, FormatSettings{}, *locale), "");
  EXPECT_EQ(FormatLocalFileTime(-5, FormatSettings{}, *locale), "");
  EXPECT_EQ(
      FormatLocalFileTime(std::numeric_limits<std::int64_t>::max(), FormatSettings{}, *locale), "");
  ScopedEnv tz("TZ", kPlusTwo);
  const platform::FileTime t = FileTimeAt(2024, 3, 5, 13, 5, 9);
  EXPECT_EQ(FormatLocalFileTime(t, FormatSettings{}, *locale), "03/05/24 15:05:09");
  EXPECT_EQ(FormatLocalFileTime(t, Custom("yyyy", "H"), *locale), "2024 15");
}

TEST(ParseTaskTime, IsoTexts) {
  platform::SystemTime now = At(2030, 1, 2, 3, 4, 5);
  now.milliseconds = 678;
  FixedUtcClock clock(now);
  struct Case {
    const char* in;
    const char* date;
    const char* time;
    bool utc;
  } cases[] = {
      {"2024-03-05T13:05:09", "03/05/24", "01:05 PM", false},
      {"2024-03-05T00:00:59", "03/05/24", "12:00 AM", false},
      {"2024-03-05T12:30:00.000Z", "03/05/24", "12:30 PM", true},
      {"9999-12-31T23:59:59", "12/31/99", "11:59 PM", false},
      {"2024-13-01T00:00:00", "Invalid DateTime", "Invalid DateTime", false},
      {"2023-02-29T00:00:00", "Invalid DateTime", "Invalid DateTime", false},
      {"2024-03-05T24:00:00", "Invalid DateTime", "Invalid DateTime", false},
      {"2024", "Invalid DateTime", "Invalid DateTime", false},
  };
  for (const auto& c : cases) {
    std::string date;
    std::string time;
    bool was_utc = !c.utc;
    ParseTaskTime(c.in, date, time, was_utc, clock);
    EXPECT_EQ(date, c.date) << c.in;
    EXPECT_EQ(time, c.time) << c.in;
    EXPECT_EQ(was_utc, c.utc) << c.in;
  }
  std::string date;
  std::string time;
  bool was_utc = false;
  const platform::SystemTime value =
      ParseTaskTime("2024-03-05T13:05:09", date, time, was_utc, clock);
  platform::SystemTime expected = At(2024, 3, 5, 13, 5, 9);
  expected.milliseconds = 678;  // not in the text, so taken from the clock
  expected.day_of_week = 2;
  EXPECT_EQ(value, expected);
}

TEST(ParseTaskTime, UtcTextsBecomeLocal) {
  ScopedEnv tz("TZ", kPlusTwo);
  FixedUtcClock clock(At(2030, 1, 2, 3, 4, 5));
  std::string date;
  std::string time;
  bool was_utc = false;
  ParseTaskTime("2024-03-05T23:30:00Z", date, time, was_utc, clock);
  EXPECT_EQ(date, "03/06/24");
  EXPECT_EQ(time, "01:30 AM");
  EXPECT_TRUE(was_utc);
  ParseTaskTime("2024-03-05T23:30:00", date, time, was_utc, clock);
  EXPECT_EQ(date, "03/05/24");
  EXPECT_EQ(time, "11:30 PM");
  EXPECT_FALSE(was_utc);
}

TEST(ParseTaskTime, EmptyTextChangesNothing) {
  FixedUtcClock clock(At(2030, 1, 2, 3, 4, 5));
  std::string date = "keep";
  std::string time = "keep";
  bool was_utc = true;
  EXPECT_EQ(ParseTaskTime("", date, time, was_utc, clock), platform::SystemTime{});
  EXPECT_EQ(date, "keep");
  EXPECT_EQ(time, "keep");
  EXPECT_TRUE(was_utc);
}

}  // namespace
}  // namespace tabulon::format
