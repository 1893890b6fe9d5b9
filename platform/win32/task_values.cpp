#include "platform/win32/task_values.h"

#include "platform/win32/com_holders.h"

#include <cwchar>

namespace tabulon::platform::win32 {
namespace {

Property<std::string> TextProperty(long hr, const wchar_t* text, std::size_t length) {
  if (FAILED(hr)) return FailedProperty<std::string>(StatusOf(hr));
  if (length > kMaxTaskTextChars) return FailedProperty<std::string>(ERROR_INVALID_DATA);
  Property<std::string> out;
  if (text != nullptr) out.value = ToUtf8(std::wstring_view(text, length));
  return out;
}

}  // namespace

Property<std::string> BstrProperty(long hr, const wchar_t* bstr) {
  // The BSTR's length prefix, not its first NUL: it may hold NULs.
  const std::size_t length = bstr == nullptr ? 0 : ::SysStringLen(const_cast<BSTR>(bstr));
  return TextProperty(hr, bstr, length);
}

Property<std::string> CoTaskTextProperty(long hr, const wchar_t* text) {
  const std::size_t length = text == nullptr ? 0 : ::wcsnlen(text, kMaxTaskTextChars + 1);
  return TextProperty(hr, text, length);
}

Property<SystemTime> SystemTimeProperty(long hr, const _SYSTEMTIME& time) {
  if (FAILED(hr)) return FailedProperty<SystemTime>(StatusOf(hr));
  Property<SystemTime> out;
  out.value = SystemTime{time.wYear, time.wMonth,  time.wDayOfWeek, time.wDay,
                         time.wHour, time.wMinute, time.wSecond,    time.wMilliseconds};
  return out;
}

}  // namespace tabulon::platform::win32
