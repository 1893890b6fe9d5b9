#include "platform/date_picture.h"

#include <gtest/gtest.h>

namespace tabulon::platform {
namespace {

SystemTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  SystemTime t;
  t.year = year;
  t.month = month;
  t.day = day;
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  return t;
}

TEST(DatePicture, DateTokens) {
  const CalendarNames names = EnglishCalendarNames();
  SystemTime tuesday = At(2024, 3, 5);
  tuesday.day_of_week = 6;  // wrong on purpose: the date decides the weekday
  struct Case {
    const char* picture;
    const char* out;
  } cases[] = {
      {"d/M/y", "5/3/24"},
      {"dd.MM.yy", "05.03.24"},
      {"yyyy-MM-dd", "2024-03-05"},
      {"yyy", "2024"},
      {"yyyyy", "2024"},
      {"ddd, MMM d", "Tue, Mar 5"},
      {"dddd MMMM", "Tuesday March"},
      {"ddddd", "Tuesday"},
      {"gg yyyy", "A.D. 2024"},
      {"'day' d", "day 5"},
      {"d 'o''clock'", "5 o'clock"},
      {"''d''", "'5'"},
      {"'unterminated d", "unterminated d"},
      {"hh:mm:ss tt", "hh:mm:ss tt"},  // time letters mean nothing in a date
      {"d\xC3\xA9M",
       "5\xC3\xA9"
       "3"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDatePicture(tuesday, c.picture, names), c.out) << c.picture;
  }
  EXPECT_EQ(FormatDatePicture(At(2005, 1, 9), "y yy", names), "5 05");
}

TEST(DatePicture, RejectsImpossibleDates) {
  const CalendarNames names = EnglishCalendarNames();
  EXPECT_EQ(FormatDatePicture(At(2023, 2, 29), "d", names), std::nullopt);
  EXPECT_EQ(FormatDatePicture(At(2024, 2, 29), "d", names), "29");
  EXPECT_EQ(FormatDatePicture(At(1900, 2, 29), "d", names), std::nullopt);
  EXPECT_EQ(FormatDatePicture(At(2024, 13, 1), "d", names), std::nullopt);
  EXPECT_EQ(FormatDatePicture(At(1600, 12, 31), "d", names), std::nullopt);
  EXPECT_EQ(FormatDatePicture(At(2024, 4, 31), "d", names), std::nullopt);
}

TEST(DatePicture, TimeTokens) {
  CalendarNames names = EnglishCalendarNames();
  struct Case {
    SystemTime t;
    const char* picture;
    const char* out;
  } cases[] = {
      {At(2024, 3, 5, 0, 5, 9), "h:mm:ss tt", "12:05:09 AM"},
      {At(2024, 3, 5, 12, 0, 0), "h:mm tt", "12:00 PM"},
      {At(2024, 3, 5, 13, 5, 9), "hh:mm t", "01:05 P"},
      {At(2024, 3, 5, 13, 5, 9), "HH:mm:ss", "13:05:09"},
      {At(2024, 3, 5, 7, 5, 9), "H m s", "7 5 9"},
      {At(2024, 3, 5, 7, 5, 9), "hhh", "07"},
      {At(2024, 3, 5, 7, 5, 9), "d/M/y H", "d/M/y 7"},
      {At(2024, 3, 5, 7, 5, 9), "H'h'mm", "7h05"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatTimePicture(c.t, c.picture, names), c.out) << c.picture;
  }
  // The date plays no part in a time.
  EXPECT_EQ(FormatTimePicture(At(0, 0, 0, 23, 59, 59), "HH:mm:ss", names), "23:59:59");
  EXPECT_EQ(FormatTimePicture(At(2024, 3, 5, 24, 0, 0), "H", names), std::nullopt);
  EXPECT_EQ(FormatTimePicture(At(2024, 3, 5, 1, 60, 0), "H", names), std::nullopt);
  names.pm = "\xC3\xA9v";  // the one-letter marker keeps a whole character
  EXPECT_EQ(FormatTimePicture(At(2024, 3, 5, 13, 0, 0), "t", names), "\xC3\xA9");
}

TEST(DatePicture, DayOfWeek) {
  EXPECT_EQ(DayOfWeek(1970, 1, 1), 4);
  EXPECT_EQ(DayOfWeek(1601, 1, 1), 1);
  EXPECT_EQ(DayOfWeek(2000, 2, 29), 2);
  EXPECT_EQ(DayOfWeek(2024, 3, 3), 0);
  EXPECT_EQ(DayOfWeek(2023, 12, 31), 0);
}

}  // namespace
}  // namespace tabulon::platform
