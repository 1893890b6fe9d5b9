#pragma once
// strftime pictures evaluated in a given locale object (strftime_l).
#include <locale.h>

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

namespace tabulon::platform {

// The result in the locale's own encoding; empty as FormatTmInCLocale.
std::string FormatTmIn(locale_t locale, std::string_view picture, const std::tm& tm,
                       std::size_t buffer_chars);

}  // namespace tabulon::platform
