#include "format/numbers.h"

#include <charconv>

#include "platform/text.h"

namespace tabulon::format {
namespace {

constexpr std::size_t kNumberBufferChars = 50;

// to_chars never looks at the process locale, so the point stays a point.
std::string TwoDecimals(double value) {
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
  if (result.ec != std::errc()) return {};
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string FormatSize(std::int64_t count, int mode) {
  const auto bytes = static_cast<double>(count);
  switch (mode) {
    case kSizeAutomatic: {
      const double gigabytes = bytes / 1073741824.0;
      if (gigabytes < 1.0) return TwoDecimals(bytes / 1048576.0) + " MB";
      return TwoDecimals(gigabytes) + " GB";
    }
    case kSizeBytes:
      return std::to_string(count);
    case kSizeMegabytes:
      return TwoDecimals(bytes / 1048576.0);
    case kSizeGigabytes:
      return TwoDecimals(bytes / 1073741824.0);
    case kSizeKilobytes:
      return TwoDecimals(bytes / 1024.0);
    default:
      return {};
  }
}

std::string FormatNumber(platform::Locale& locale, std::string_view digits) {
  const auto formatted = locale.FormatNumber(digits);
  if (!formatted || text::CountCodePoints(*formatted) >= kNumberBufferChars) return {};
  return *formatted;
}

}  // namespace tabulon::format
