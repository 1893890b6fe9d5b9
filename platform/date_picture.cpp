#include "platform/date_picture.h"

#include <cstddef>

namespace tabulon::platform {
namespace {

bool IsLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (m == 2 && IsLeap(y)) ? 29 : kDays[m - 1];
}

void AppendNumber(std::string& out, int value, int min_digits) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < min_digits) {
    out.append(static_cast<std::size_t>(min_digits) - digits.size(), '0');
  }
  out += digits;
}

std::string FirstCodePoint(const std::string& s) {
  if (s.empty()) return s;
  std::size_t len = 1;
  while (len < s.size() && (static_cast<unsigned char>(s[len]) & 0xC0) == 0x80) ++len;
  return s.substr(0, len);
}

// Walks a picture: quoted text is copied without its quotes ('' gives one
// quote), runs of one character go to `token`, which returns false for
// characters that are not part of the picture language; those are copied.
template <typename Token>
std::string WalkPicture(std::string_view picture, Token token) {
  std::string out;
  std::size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    if (c == '\'') {
      if (i + 1 < picture.size() && picture[i + 1] == '\'') {
        out += '\'';
        i += 2;
        continue;
      }
      ++i;
      while (i < picture.size()) {
        if (picture[i] == '\'') {
          if (i + 1 < picture.size() && picture[i + 1] == '\'') {
            out += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += picture[i++];
      }
      continue;
    }
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    if (!token(out, c, static_cast<int>(run))) out.append(run, c);
    i += run;
  }
  return out;
}

}  // namespace

CalendarNames EnglishCalendarNames() {
  return CalendarNames{
      {"January", "February", "March", "April", "May", "June", "July", "August", "September",
       "October", "November", "December"},
      {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
      {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
      {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
      "AM",
      "PM"};
}

int DayOfWeek(int year, int month, int day) {
  static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) --year;
  return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7;
}

bool IsValidDate(const SystemTime& t) {
  return t.year >= 1601 && t.year <= 30827 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month);
}

bool IsValidTimeOfDay(const SystemTime& t) {
  return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
         t.second <= 59;
}

std::optional<std::string> FormatDatePicture(const SystemTime& t, std::string_view picture,
                                             const CalendarNames& names) {
  if (!IsValidDate(t)) return std::nullopt;
  const int weekday = DayOfWeek(t.year, t.month, t.day);
  const auto month = static_cast<std::size_t>(t.month - 1);
  return WalkPicture(picture, [&](std::string& out, char c, int count) {
    switch (c) {
      case 'd':
        if (count <= 2) {
          AppendNumber(out, t.day, count);
        } else {
          const auto& list = count == 3 ? names.abbreviated_weekdays : names.weekdays;
          out += list[static_cast<std::size_t>(weekday)];
        }
        return true;
      case 'M':
        if (count <= 2) {
          AppendNumber(out, t.month, count);
        } else {
          out += count == 3 ? names.abbreviated_months[month] : names.months[month];
        }
        return true;
      case 'y':
        // Three or more letters all mean the full year.
        if (count <= 2) {
          AppendNumber(out, t.year % 100, count);
        } else {
          AppendNumber(out, t.year, 1);
        }
        return true;
      case 'g':
        out += "A.D.";
        return true;
      default:
        return false;
    }
  });
}

std::optional<std::string> FormatTimePicture(const SystemTime& t, std::string_view picture,
                                             const CalendarNames& names) {
  if (!IsValidTimeOfDay(t)) return std::nullopt;
  return WalkPicture(picture, [&](std::string& out, char c, int count) {
    const int width = count >= 2 ? 2 : 1;
    switch (c) {
      case 'h': {
        const int h12 = t.hour % 12;
        AppendNumber(out, h12 == 0 ? 12 : h12, width);
        return true;
      }
      case 'H':
        AppendNumber(out, t.hour, width);
        return true;
      case 'm':
        AppendNumber(out, t.minute, width);
        return true;
      case 's':
        AppendNumber(out, t.second, width);
        return true;
      case 't': {
        const std::string& marker = t.hour < 12 ? names.am : names.pm;
        out += width == 1 ? FirstCodePoint(marker) : marker;
        return true;
      }
      default:
        return false;
    }
  });
}

}  // namespace tabulon::platform
