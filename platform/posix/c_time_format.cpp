#include "platform/posix/c_time_format.h"

#include <vector>

#include "platform/c_time_format.h"
#include "platform/text.h"

namespace tabulon::platform {

std::string FormatTmIn(locale_t locale, std::string_view picture, const std::tm& tm,
                       std::size_t buffer_chars) {
  if (buffer_chars == 0 || picture.empty()) return {};
  const std::string format(picture);
  // A character takes at most four bytes, so anything longer cannot fit.
  std::vector<char> buffer(buffer_chars * 4 + 1);
  const std::size_t n = ::strftime_l(buffer.data(), buffer.size(), format.c_str(), &tm, locale);
  if (n == 0) return {};
  std::string out(buffer.data(), n);
  if (text::CountCodePoints(out) >= buffer_chars) return {};
  return out;
}

std::string FormatTmInCLocale(std::string_view picture, const std::tm& tm,
                              std::size_t buffer_chars) {
  const locale_t c_locale = ::newlocale(LC_ALL_MASK, "C", nullptr);
  if (c_locale == nullptr) return {};
  std::string out = FormatTmIn(c_locale, picture, tm, buffer_chars);
  ::freelocale(c_locale);
  return out;
}

}  // namespace tabulon::platform
