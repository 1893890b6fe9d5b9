#pragma once
// The run-time values the formatting helpers read. Start-up fills the locale
// facts and the OS version, each run the rest; the helpers never change them.
#include <string>

#include "platform/locale.h"

namespace tabulon::format {

struct FormatSettings {
  // A Windows date picture for FormatSystemTime and a strftime picture for
  // FormatEpochTime; empty means the locale's default.
  std::string custom_date_format;
  std::string custom_time_format;
  bool month_first = true;
  std::string date_separator = "/";
  std::string secondary_delimiter = "^";
  int local_major_version = 10;
};

// Reads the date order and separator of the user's locale into `settings`:
// month first only for the month-day-year order, the separator cut to three
// characters.
void ApplyLocaleDateOrder(platform::Locale& locale, FormatSettings& settings);

}  // namespace tabulon::format
