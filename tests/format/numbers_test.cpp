#include "format/numbers.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <clocale>
#include <cstdint>
#include <limits>

#include "mocks.h"
#include "platform/posix/locale.h"

namespace tabulon::format {
namespace {

using ::testing::Return;

TEST(FormatSize, Modes) {
  constexpr std::int64_t kGiB = 1073741824;
  struct Case {
    std::int64_t count;
    int mode;
    const char* out;
  } cases[] = {
      {536870912, kSizeAutomatic, "512.00 MB"},
      {kGiB, kSizeAutomatic, "1.00 GB"},
      {kGiB - 1, kSizeAutomatic, "1024.00 MB"},
      {0, kSizeAutomatic, "0.00 MB"},
      {5 * kGiB / 2, kSizeAutomatic, "2.50 GB"},
      {-5 * kGiB, kSizeAutomatic, "-5120.00 MB"},
      {1536, kSizeKilobytes, "1.50"},
      {1536, kSizeBytes, "1536"},
      {std::numeric_limits<std::int64_t>::min(), kSizeBytes, "-9223372036854775808"},
      {1234567890123, kSizeBytes, "1234567890123"},
      {1572864, kSizeMegabytes, "1.50"},
      {5 * kGiB, kSizeGigabytes, "5.00"},
      {1048575, kSizeGigabytes, "0.00"},
      {5, kSizeKilobytes, "0.00"},
      {1536, 7, ""},
      {1536, -1, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatSize(c.count, c.mode), c.out) << c.count << " mode " << c.mode;
  }
}

TEST(FormatSize, KeepsThePointInACommaLocale) {
  const locale_t german = ::newlocale(LC_ALL_MASK, "de_DE.UTF-8", nullptr);
  if (german == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  ::freelocale(german);
  std::setlocale(LC_ALL, "de_DE.UTF-8");
  const std::string automatic = FormatSize(1610612736, kSizeAutomatic);
  const std::string kilobytes = FormatSize(1536, kSizeKilobytes);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(automatic, "1.50 GB");
  EXPECT_EQ(kilobytes, "1.50");
}

TEST(FormatNumber, UsesTheLocaleAndItsBuffer) {
  MockLocale locale;
  EXPECT_CALL(locale, FormatNumber(std::string_view("1"))).WillOnce(Return(std::string(49, '9')));
  EXPECT_CALL(locale, FormatNumber(std::string_view("2"))).WillOnce(Return(std::string(50, '9')));
  EXPECT_CALL(locale, FormatNumber(std::string_view("x"))).WillOnce(Return(std::nullopt));
  EXPECT_EQ(FormatNumber(locale, "1"), std::string(49, '9'));
  EXPECT_EQ(FormatNumber(locale, "2"), "");
  EXPECT_EQ(FormatNumber(locale, "x"), "");

  const auto c_locale = platform::MakePosixLocale("C.UTF-8");
  EXPECT_EQ(FormatNumber(*c_locale, "1234567"), "1234567.00");
  EXPECT_EQ(FormatNumber(*c_locale, "not a number"), "");
}

}  // namespace
}  // namespace tabulon::format
