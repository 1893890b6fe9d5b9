#include "platform/ole_date.h"

#include <cmath>

namespace tabulon::platform {
namespace {

constexpr double kTicksPerDay = 86400.0 * kFileTimeTicksPerSecond;
// 1899-12-30 00:00 as a file time.
constexpr FileTime kOleEpoch = 94353120000000000LL;
// Far enough for any date a task carries (year 9999).
constexpr double kMaxDays = 2958466.0;

}  // namespace

std::optional<double> SystemTimeToOleDate(const SystemTime& time) {
  // Milliseconds are ignored, as SystemTimeToVariantTime ignores them: a
  // time a tick before midnight stays on its day.
  SystemTime whole_seconds = time;
  whole_seconds.milliseconds = 0;
  const std::optional<FileTime> ft = SystemTimeToFileTime(whole_seconds);
  if (!ft || *ft < kOleEpoch) return std::nullopt;
  return static_cast<double>(*ft - kOleEpoch) / kTicksPerDay;
}

std::optional<SystemTime> OleDateToSystemTime(double date) {
  if (!std::isfinite(date) || date < 0 || date > kMaxDays) return std::nullopt;
  const double seconds = std::round(date * 86400.0);
  return FileTimeToSystemTime(kOleEpoch + static_cast<FileTime>(seconds) * kFileTimeTicksPerSecond);
}

}  // namespace tabulon::platform
