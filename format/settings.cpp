#include "format/settings.h"

#include "platform/text.h"

namespace tabulon::format {

void ApplyLocaleDateOrder(platform::Locale& locale, FormatSettings& settings) {
  const std::string order = locale.DateOrderCode();
  settings.month_first = !order.empty() && order.front() == '0';
  settings.date_separator = text::TruncateCodePoints(locale.DateSeparator(), 3);
}

}  // namespace tabulon::format
