#pragma once
// The Locale backend over the C library's locales (newlocale/nl_langinfo_l).
#include <memory>
#include <string>
#include <string_view>

#include "platform/locale.h"

namespace tabulon::platform {

struct DateOrderFacts {
  std::string order_code;  // "0" month first, "1" day first, "2" year first
  std::string separator;   // at most three characters
};

// Date order and separator of a strftime short-date picture (D_FMT): the
// first date field decides the order, the text between the first two date
// fields is the separator. %D counts as %m/%d/%y and %F as %Y-%m-%d.
DateOrderFacts DateOrderFromPicture(std::string_view strftime_picture);

// The locale `name` ("" takes it from LC_ALL, LC_TIME, LC_NUMERIC and LANG).
// Time and number facts are loaded separately; a category whose locale is not
// installed falls back to C.
std::unique_ptr<Locale> MakePosixLocale(std::string_view name);

}  // namespace tabulon::platform
