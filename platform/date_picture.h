#pragma once
// Windows date and time pictures (as GetDateFormat and GetTimeFormat take
// them) applied to a SystemTime. The names come from the caller, so the same
// code serves every locale backend.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/time.h"

namespace tabulon::platform {

struct CalendarNames {
  std::array<std::string, 12> months;
  std::array<std::string, 12> abbreviated_months;
  std::array<std::string, 7> weekdays;  // 0 = Sunday
  std::array<std::string, 7> abbreviated_weekdays;
  std::string am;
  std::string pm;
};

// The English names of the C locale.
CalendarNames EnglishCalendarNames();

// 0 = Sunday, proleptic Gregorian calendar.
int DayOfWeek(int year, int month, int day);
// The checks GetDateFormat and GetTimeFormat make: a date within the
// SYSTEMTIME range, a time of day within 24 hours.
bool IsValidDate(const SystemTime& t);
bool IsValidTimeOfDay(const SystemTime& t);

// d dd ddd dddd, M MM MMM MMMM, y yy yyyy, g gg and 'quoted text'; every other
// character is copied. The weekday is taken from the date, not from
// t.day_of_week. Nothing for a date that is not valid.
std::optional<std::string> FormatDatePicture(const SystemTime& t, std::string_view picture,
                                             const CalendarNames& names);
// h hh H HH m mm s ss t tt and 'quoted text'; every other character is copied.
// Nothing for a time of day that is not valid.
std::optional<std::string> FormatTimePicture(const SystemTime& t, std::string_view picture,
                                             const CalendarNames& names);

}  // namespace tabulon::platform
