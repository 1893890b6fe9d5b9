#include "platform/locale.h"

#include <windows.h>

#include <array>
#include <optional>

#include "platform/date_picture.h"
#include "platform/win32/wide.h"

namespace tabulon::platform {
namespace {

// The NLS calls take the buffer size in UTF-16 units with the terminator,
// and tell that size when given none. `call(buffer, size)` is one of them.
template <typename Call>
std::optional<std::string> AskNls(Call call) {
  const int size = call(nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  const int n = call(out.data(), size);
  if (n <= 0) return std::nullopt;
  out.resize(static_cast<std::size_t>(n - 1));  // n counts the terminator
  return win32::ToUtf8(out);
}

std::string LocaleInfo(LCTYPE type) {
  return AskNls([type](LPWSTR buffer, int size) {
           return ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, size);
         })
      .value_or(std::string());
}

SYSTEMTIME ToSystemTime(const SystemTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.year);
  st.wMonth = static_cast<WORD>(t.month);
  st.wDayOfWeek = static_cast<WORD>(DayOfWeek(t.year, t.month, t.day));
  st.wDay = static_cast<WORD>(t.day);
  st.wHour = static_cast<WORD>(t.hour);
  st.wMinute = static_cast<WORD>(t.minute);
  st.wSecond = static_cast<WORD>(t.second);
  st.wMilliseconds = static_cast<WORD>(t.milliseconds);
  return st;
}

// The user's locale through the NLS functions themselves: the date, time and
// number texts are the system's own, pictures included.
class Win32Locale final : public Locale {
 public:
  Win32Locale() : order_code_(LocaleInfo(LOCALE_IDATE)), date_separator_(LocaleInfo(LOCALE_SDATE)) {
    // LOCALE_SDAYNAME1 is Monday; index 0 here is Sunday.
    for (int i = 0; i < 7; ++i) {
      weekdays_[static_cast<std::size_t>((i + 1) % 7)] =
          LocaleInfo(static_cast<LCTYPE>(LOCALE_SDAYNAME1 + i));
    }
    if (order_code_.empty()) order_code_ = "0";
  }

  std::string DateOrderCode() override { return order_code_; }
  std::string DateSeparator() override { return date_separator_; }

  std::optional<std::string> FormatDate(const SystemTime& t, std::string_view picture) override {
    if (!IsValidDate(t)) return std::nullopt;
    const SYSTEMTIME st = ToSystemTime(t);
    const std::wstring format = win32::ToWide(picture);
    const DWORD flags = picture.empty() ? DATE_SHORTDATE : 0;
    const wchar_t* wanted = picture.empty() ? nullptr : format.c_str();
    return AskNls([&](LPWSTR buffer, int size) {
      return ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, flags, &st, wanted, buffer, size, nullptr);
    });
  }

  std::optional<std::string> FormatTime(const SystemTime& t, std::string_view picture) override {
    if (!IsValidTimeOfDay(t)) return std::nullopt;
    SystemTime day = t;
    // Only the time of day matters; keep the date sane for the call's checks.
    if (!IsValidDate(day)) {
      day.year = 1601;
      day.month = 1;
      day.day = 1;
    }
    const SYSTEMTIME st = ToSystemTime(day);
    const std::wstring format = win32::ToWide(picture);
    const wchar_t* wanted = picture.empty() ? nullptr : format.c_str();
    return AskNls([&](LPWSTR buffer, int size) {
      return ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, wanted, buffer, size);
    });
  }

  std::optional<std::string> FormatNumber(std::string_view digits) override {
    // The call refuses, with ERROR_INVALID_PARAMETER, any text that is not
    // an optional '-', digits and at most one '.'.
    if (digits.empty()) return std::nullopt;
    const std::wstring value = win32::ToWide(digits);
    return AskNls([&](LPWSTR buffer, int size) {
      return ::GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, value.c_str(), nullptr, buffer, size);
    });
  }

  std::string WeekdayName(int day_of_week) override {
    if (day_of_week < 0 || day_of_week > 6) return {};
    return weekdays_[static_cast<std::size_t>(day_of_week)];
  }

 private:
  std::string order_code_;
  std::string date_separator_;
  std::array<std::string, 7> weekdays_;
};

}  // namespace

std::unique_ptr<Locale> MakeProcessLocale() {
  return std::make_unique<Win32Locale>();
}

}  // namespace tabulon::platform
