#include "platform/time.h"

#include <chrono>

#include "platform/local_time.h"

namespace tabulon::platform {
namespace {

bool IsLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (m == 2 && IsLeap(y)) ? 29 : kDays[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = yoe + era * 400;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y += m <= 2 ? 1 : 0;
}

std::optional<SystemTime> FromUnixSeconds(std::int64_t secs, int millis) {
  std::int64_t days = secs / 86400;
  std::int64_t rem = secs % 86400;
  if (rem < 0) {
    rem += 86400;
    --days;
  }
  std::int64_t y = 0;
  int m = 0;
  int d = 0;
  CivilFromDays(days, y, m, d);
  if (y < 1601 || y > 30827) return std::nullopt;
  SystemTime t;
  t.year = static_cast<int>(y);
  t.month = m;
  t.day = d;
  t.day_of_week = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  t.hour = static_cast<int>(rem / 3600);
  t.minute = static_cast<int>((rem / 60) % 60);
  t.second = static_cast<int>(rem % 60);
  t.milliseconds = millis;
  return t;
}

std::int64_t ToUnixSeconds(const SystemTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 86400 + std::int64_t{t.hour} * 3600 +
         std::int64_t{t.minute} * 60 + t.second;
}

}  // namespace

bool IsValidSystemTime(const SystemTime& t) {
  return t.year >= 1601 && t.year <= 30827 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
         t.minute <= 59 && t.second >= 0 && t.second <= 59 && t.milliseconds >= 0 &&
         t.milliseconds <= 999;
}

std::optional<SystemTime> FileTimeToSystemTime(FileTime ft) {
  if (ft < 0) return std::nullopt;
  const std::int64_t rel = ft - kFileTimeUnixEpoch;
  std::int64_t secs = rel / kFileTimeTicksPerSecond;
  std::int64_t ticks = rel % kFileTimeTicksPerSecond;
  if (ticks < 0) {
    ticks += kFileTimeTicksPerSecond;
    --secs;
  }
  return FromUnixSeconds(secs, static_cast<int>(ticks / 10000));
}

std::optional<FileTime> SystemTimeToFileTime(const SystemTime& t) {
  if (!IsValidSystemTime(t)) return std::nullopt;
  return ToUnixSeconds(t) * kFileTimeTicksPerSecond + kFileTimeUnixEpoch +
         static_cast<FileTime>(t.milliseconds) * 10000;
}

SystemTime SystemTimeFromTm(const std::tm& tm, int milliseconds) {
  SystemTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.day_of_week = tm.tm_wday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  t.milliseconds = milliseconds;
  return t;
}

std::tm TmFromSystemTime(const SystemTime& t) {
  std::tm tm{};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_wday = t.day_of_week;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  tm.tm_isdst = -1;
  tm.tm_yday =
      static_cast<int>(DaysFromCivil(t.year, t.month, t.day) - DaysFromCivil(t.year, 1, 1));
  return tm;
}

std::optional<SystemTime> UtcToLocal(const SystemTime& utc) {
  if (!IsValidSystemTime(utc)) return std::nullopt;
  const std::time_t secs = static_cast<std::time_t>(ToUnixSeconds(utc));
  std::tm tm{};
  if (!ToLocalTm(secs, tm)) return std::nullopt;
  return SystemTimeFromTm(tm, utc.milliseconds);
}

std::optional<SystemTime> LocalToUtc(const SystemTime& local) {
  if (!IsValidSystemTime(local)) return std::nullopt;
  std::tm tm = TmFromSystemTime(local);
  const std::time_t secs = ::mktime(&tm);
  if (secs == static_cast<std::time_t>(-1)) return std::nullopt;
  return FromUnixSeconds(secs, local.milliseconds);
}

FileTime FileTimeToLocalFileTime(FileTime utc) {
  const std::optional<long> offset = UtcOffsetSeconds(std::time(nullptr));
  if (!offset) return utc;
  return utc + static_cast<FileTime>(*offset) * kFileTimeTicksPerSecond;
}

SystemTime SystemClock::LocalNow() {
  const auto now = std::chrono::system_clock::now();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch());
  const std::time_t secs = static_cast<std::time_t>(ms.count() / 1000);
  std::tm tm{};
  ToLocalTm(secs, tm);
  return SystemTimeFromTm(tm, static_cast<int>(ms.count() % 1000));
}

SystemTime SystemClock::UtcNow() {
  const auto now = std::chrono::system_clock::now();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch());
  return FromUnixSeconds(ms.count() / 1000, static_cast<int>(ms.count() % 1000))
      .value_or(SystemTime{});
}

std::uint32_t SystemClock::TickCount() {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count());
}

}  // namespace tabulon::platform
