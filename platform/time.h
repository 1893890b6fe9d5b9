#pragma once
// Windows time values and the kernel32 conversions between them. FileTime
// counts 100-nanosecond intervals since 1601-01-01 UTC.
#include <cstdint>
#include <ctime>
#include <optional>

namespace tabulon::platform {

using FileTime = std::int64_t;

struct SystemTime {
  int year = 0;
  int month = 0;        // 1-12
  int day_of_week = 0;  // 0 = Sunday
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int milliseconds = 0;
  bool operator==(const SystemTime&) const = default;
};

inline constexpr FileTime kFileTimeUnixEpoch = 116444736000000000LL;
inline constexpr FileTime kFileTimeTicksPerSecond = 10000000LL;

// A file system's time (seconds and nanoseconds since 1970, UTC) as the
// FILETIME WIN32_FIND_DATAW carries; 0 for a time before 1601.
constexpr std::uint64_t FileTimeOfUnixTime(std::int64_t seconds, std::int64_t nanoseconds) {
  if (seconds < -kFileTimeUnixEpoch / kFileTimeTicksPerSecond) return 0;
  return static_cast<std::uint64_t>(kFileTimeUnixEpoch + seconds * kFileTimeTicksPerSecond +
                                    nanoseconds / 100);
}

bool IsValidSystemTime(const SystemTime& t);
std::optional<SystemTime> FileTimeToSystemTime(FileTime ft);
std::optional<FileTime> SystemTimeToFileTime(const SystemTime& t);
SystemTime SystemTimeFromTm(const std::tm& tm, int milliseconds = 0);
std::tm TmFromSystemTime(const SystemTime& t);

// Conversions through the process time zone (TZ), as the system's current
// time-zone settings would give them.
std::optional<SystemTime> UtcToLocal(const SystemTime& utc);
std::optional<SystemTime> LocalToUtc(const SystemTime& local);
// Shifts by the bias that applies now, as FileTimeToLocalFileTime does.
FileTime FileTimeToLocalFileTime(FileTime utc);

// The current time. Tests replace it to get fixed dates.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual SystemTime LocalNow() = 0;
  virtual SystemTime UtcNow() = 0;
  // Milliseconds since some fixed start, wrapping at 2^32.
  virtual std::uint32_t TickCount() = 0;
};

class SystemClock final : public Clock {
 public:
  SystemTime LocalNow() override;
  SystemTime UtcNow() override;
  std::uint32_t TickCount() override;
};

}  // namespace tabulon::platform
