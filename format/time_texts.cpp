#include "format/time_texts.h"

#include <ctime>
#include <optional>

#include "format/special_values.h"
#include "platform/c_time_format.h"
#include "platform/date_picture.h"
#include "platform/local_time.h"
#include "platform/text.h"

namespace tabulon::format {
namespace {

constexpr std::size_t kDateTimeBufferChars = 100;
constexpr std::size_t kEpochBufferChars = 128;
constexpr std::size_t kTaskBufferChars = 256;
constexpr std::string_view kInvalidDateTime = "Invalid DateTime";

std::optional<std::string> FitBuffer(std::optional<std::string> text) {
  if (text && text::CountCodePoints(*text) >= kDateTimeBufferChars) return std::nullopt;
  return text;
}

// One field of an ISO text read as an unsigned 16-bit number; a field that is
// missing reads as 0, one that does not fit as a value no calendar accepts.
int TaskField(std::string_view text, std::size_t pos, std::size_t len) {
  if (pos >= text.size()) return 0;
  const long long value = text::ParseLeadingInteger(text.substr(pos, len));
  return value < 0 || value > 0xFFFF ? 0xFFFF : static_cast<int>(value);
}

}  // namespace

std::string FormatFileTime(platform::FileTime utc, platform::Locale& locale) {
  std::optional<std::string> date;
  std::optional<std::string> time;
  if (const auto system = platform::FileTimeToSystemTime(utc)) {
    const platform::SystemTime local = platform::UtcToLocal(*system).value_or(*system);
    date = FitBuffer(locale.FormatDate(local, ""));
    time = FitBuffer(locale.FormatTime(local, ""));
  }
  return date.value_or("") + " " + time.value_or("");
}

std::string FormatSystemTime(const platform::SystemTime& time, bool is_utc,
                             const FormatSettings& settings, platform::Locale& locale) {
  platform::SystemTime value = time;
  if (is_utc) value = platform::UtcToLocal(time).value_or(time);
  std::string out;
  if (const auto date = FitBuffer(locale.FormatDate(value, settings.custom_date_format))) {
    out = *date;
  }
  if (const auto clock = FitBuffer(locale.FormatTime(value, settings.custom_time_format))) {
    out += " ";
    out += *clock;
  }
  return out;
}

std::string FormatLocalFileTime(std::int64_t file_time, const FormatSettings& settings,
                                platform::Locale& locale) {
  // Checked before shifting so that the bias can never overflow.
  if (file_time <= 0 || !platform::FileTimeToSystemTime(file_time)) return {};
  const auto local = platform::FileTimeToSystemTime(platform::FileTimeToLocalFileTime(file_time));
  if (!local) return {};
  return FormatSystemTime(*local, false, settings, locale);
}

std::string FormatEpochTime(std::uint32_t seconds, bool as_utc, const FormatSettings& settings) {
  if (seconds == 0) return std::string(kNever);
  const auto when = static_cast<std::time_t>(seconds);
  std::tm tm{};
  if (!(as_utc ? platform::ToUtcTm(when, tm) : platform::ToLocalTm(when, tm))) return {};
  std::string picture = settings.custom_date_format;
  if (picture.empty()) {
    const std::string& sep = settings.date_separator;
    picture = settings.month_first ? "%m" + sep + "%d" + sep + "%Y %I:%M:%S %p"
                                   : "%d" + sep + "%m" + sep + "%Y %I:%M:%S %p";
  }
  return platform::FormatTmInCLocale(picture, tm, kEpochBufferChars);
}

platform::SystemTime ParseTaskTime(std::string_view text, std::string& date, std::string& time,
                                   bool& was_utc, platform::Clock& clock) {
  if (text.empty()) return {};
  was_utc = text.find('Z') != std::string_view::npos;
  platform::SystemTime value = clock.UtcNow();
  value.year = TaskField(text, 0, 4);
  value.month = TaskField(text, 5, 2);
  value.day = TaskField(text, 8, 2);
  value.hour = TaskField(text, 11, 2);
  value.minute = TaskField(text, 14, 2);
  value.second = TaskField(text, 17, 2);
  if (was_utc) value = platform::UtcToLocal(value).value_or(value);
  // The date-time type behind these texts ends with the year 9999.
  if (!platform::IsValidDate(value) || value.year > 9999 || !platform::IsValidTimeOfDay(value)) {
    date = kInvalidDateTime;
    time = kInvalidDateTime;
    return value;
  }
  value.day_of_week = platform::DayOfWeek(value.year, value.month, value.day);
  const std::tm tm = platform::TmFromSystemTime(value);
  date = platform::FormatTmInCLocale("%x", tm, kTaskBufferChars);
  time = platform::FormatTmInCLocale("%I:%M %p", tm, kTaskBufferChars);
  return value;
}

}  // namespace tabulon::format
