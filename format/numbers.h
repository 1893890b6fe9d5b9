#pragma once
// Byte counts and locale-formatted numbers.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/locale.h"

namespace tabulon::format {

// The DrivesFormat setting.
enum SizeMode : int {
  kSizeAutomatic = 0,
  kSizeBytes = 1,
  kSizeMegabytes = 2,
  kSizeGigabytes = 3,
  kSizeKilobytes = 4,
};

// Two decimals with a point whatever the locale; automatic mode adds " MB"
// below one gigabyte and " GB" from there on. Unknown modes give "".
std::string FormatSize(std::int64_t count, int mode);

// The locale's grouping and decimals; "" when the locale rejects the text or
// the result is longer than 49 characters.
std::string FormatNumber(platform::Locale& locale, std::string_view digits);

}  // namespace tabulon::format
