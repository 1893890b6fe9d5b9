#include "platform/c_time_format.h"

#include <locale.h>
#include <time.h>

#include <vector>

#include "platform/win32/wide.h"

namespace tabulon::platform {
namespace {

// The C runtime hands a conversion it does not know, or a field out of its
// range, to the invalid-parameter handler, which ends the process. Both are
// checked first, so that such a picture only gives empty text.
bool KnownConversions(std::wstring_view picture) {
  constexpr std::wstring_view kConversions = L"aAbBcdHIjmMpSUwWxXyYzZ%";
  for (std::size_t i = 0; i < picture.size(); ++i) {
    if (picture[i] != L'%') continue;
    if (++i < picture.size() && picture[i] == L'#') ++i;  // the runtime's own flag
    if (i >= picture.size() || kConversions.find(picture[i]) == std::wstring_view::npos) {
      return false;
    }
  }
  return true;
}

bool FieldsInRange(const std::tm& tm) {
  return tm.tm_sec >= 0 && tm.tm_sec <= 59 && tm.tm_min >= 0 && tm.tm_min <= 59 &&
         tm.tm_hour >= 0 && tm.tm_hour <= 23 && tm.tm_mday >= 1 && tm.tm_mday <= 31 &&
         tm.tm_mon >= 0 && tm.tm_mon <= 11 && tm.tm_year >= -1900 && tm.tm_year <= 8099 &&
         tm.tm_wday >= 0 && tm.tm_wday <= 6 && tm.tm_yday >= 0 && tm.tm_yday <= 365;
}

}  // namespace

std::string FormatTmInCLocale(std::string_view picture, const std::tm& tm,
                              std::size_t buffer_chars) {
  if (buffer_chars == 0 || picture.empty()) return {};
  const std::wstring format = win32::ToWide(picture);
  if (format.empty() || !KnownConversions(format) || !FieldsInRange(tm)) return {};
  const _locale_t c_locale = ::_create_locale(LC_ALL, "C");
  if (c_locale == nullptr) return {};
  // The caller's buffer size is taken as is: wcsftime gives 0 when the text
  // and its terminator do not fit, which is the empty result.
  std::vector<wchar_t> buffer(buffer_chars);
  const std::size_t n = ::_wcsftime_l(buffer.data(), buffer.size(), format.c_str(), &tm, c_locale);
  ::_free_locale(c_locale);
  if (n == 0) return {};
  return win32::ToUtf8(std::wstring_view(buffer.data(), n));
}

}  // namespace tabulon::platform
