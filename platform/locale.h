#pragma once
// The user's locale, as the Windows locale functions give it: date order and
// separator, default short date and long time, custom date/time pictures,
// number grouping and weekday names.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/time.h"

namespace tabulon::platform {

class Locale {
 public:
  virtual ~Locale() = default;

  // The date-order code: "0" month-day-year, "1" day-month-year,
  // "2" year-month-day.
  virtual std::string DateOrderCode() = 0;
  virtual std::string DateSeparator() = 0;
  // A Windows date picture (d, dd, ddd, dddd, M .. MMMM, y, yy, yyyy, quoted
  // text); an empty picture means the locale's short date. Nothing for a date
  // that is not valid.
  virtual std::optional<std::string> FormatDate(const SystemTime& t, std::string_view picture) = 0;
  // A Windows time picture (h, hh, H, HH, m, mm, s, ss, t, tt); an empty
  // picture means the locale's long time.
  virtual std::optional<std::string> FormatTime(const SystemTime& t, std::string_view picture) = 0;
  // A decimal number text with the locale's grouping, decimal separator and
  // number of decimals. Nothing when the text is not a number.
  virtual std::optional<std::string> FormatNumber(std::string_view digits) = 0;
  // Full weekday name, 0 = Sunday.
  virtual std::string WeekdayName(int day_of_week) = 0;
};

// The locale named by LC_ALL / LC_TIME / LC_NUMERIC / LANG, falling back to
// the C locale when that locale is not installed.
std::unique_ptr<Locale> MakeProcessLocale();

}  // namespace tabulon::platform
