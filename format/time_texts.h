#pragma once
// Date and time fields: file times, system times, seconds since 1970 and the
// task scheduler's ISO texts.
#include <cstdint>
#include <string>
#include <string_view>

#include "format/settings.h"
#include "platform/locale.h"
#include "platform/time.h"

namespace tabulon::format {

// Local short date, a blank and the local long time of a UTC file time; a
// part that cannot be formatted is left out but the blank stays. The custom
// formats do not apply.
std::string FormatFileTime(platform::FileTime utc, platform::Locale& locale);

// Date and time with the custom pictures (or the locale's defaults), after
// converting from UTC when `is_utc`. The blank comes with the time: a failed
// date gives " " and the time, a failed time just the date.
std::string FormatSystemTime(const platform::SystemTime& time, bool is_utc,
                             const FormatSettings& settings, platform::Locale& locale);

// A UTC file time shifted by the current bias, then FormatSystemTime; 0, a
// negative value or one beyond the calendar give "".
std::string FormatLocalFileTime(std::int64_t file_time, const FormatSettings& settings,
                                platform::Locale& locale);

// "NEVER" for 0. Otherwise a strftime picture in the C locale: the custom date
// format alone when set, else the date in the locale's order with a 12-hour
// time, e.g. 03/15/2024 01:05:09 PM.
std::string FormatEpochTime(std::uint32_t seconds, bool as_utc, const FormatSettings& settings);

// Reads YYYY-MM-DDTHH:MM:SS (a 'Z' anywhere marks UTC, which is converted to
// local time). `date` gets "%x" and `time` "%I:%M %p" in the C locale, both
// "Invalid DateTime" for an impossible value. Fields the text does not carry
// come from the clock's UTC time. An empty text changes nothing and returns
// the zero value.
platform::SystemTime ParseTaskTime(std::string_view text, std::string& date, std::string& time,
                                   bool& was_utc, platform::Clock& clock);

}  // namespace tabulon::format
