#pragma once
// strftime pictures evaluated in a given locale object instead of the
// process locale, which a GUI library may change with setlocale at any time.
#include <locale.h>

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

namespace tabulon::platform {

// Empty text when the result is empty or, with its terminator, does not fit
// `buffer_chars` characters, as wcsftime reports it.
std::string FormatTmIn(locale_t locale, std::string_view picture, const std::tm& tm,
                       std::size_t buffer_chars);

// The same in the C locale, as the C runtime formats before anyone calls
// setlocale: "%x" is MM/DD/YY, "%p" is AM or PM.
std::string FormatTmInCLocale(std::string_view picture, const std::tm& tm,
                              std::size_t buffer_chars);

}  // namespace tabulon::platform
