#pragma once
#include <gmock/gmock.h>

#include "platform/locale.h"
#include "platform/security.h"
#include "platform/time.h"

namespace tabulon::format {

class MockLocale : public platform::Locale {
 public:
  MOCK_METHOD(std::string, DateOrderCode, (), (override));
  MOCK_METHOD(std::string, DateSeparator, (), (override));
  MOCK_METHOD(std::optional<std::string>, FormatDate,
              (const platform::SystemTime&, std::string_view), (override));
  MOCK_METHOD(std::optional<std::string>, FormatTime,
              (const platform::SystemTime&, std::string_view), (override));
  MOCK_METHOD(std::optional<std::string>, FormatNumber, (std::string_view), (override));
  MOCK_METHOD(std::string, WeekdayName, (int), (override));
};

class MockAccountLookup : public platform::AccountLookup {
 public:
  MOCK_METHOD(platform::AccountOfSid, LookupAccountSid, (std::string_view, const platform::Sid&),
              (override));
  MOCK_METHOD(platform::SidOfAccount, LookupAccountName,
              (std::string_view, std::string_view, std::uint32_t), (override));
};

class FixedUtcClock : public platform::Clock {
 public:
  explicit FixedUtcClock(platform::SystemTime utc) : utc_(utc) {}
  platform::SystemTime LocalNow() override { return platform::UtcToLocal(utc_).value_or(utc_); }
  platform::SystemTime UtcNow() override { return utc_; }
  std::uint32_t TickCount() override { return 0; }

 private:
  platform::SystemTime utc_;
};

}  // namespace tabulon::format
