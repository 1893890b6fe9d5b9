#pragma once
// strftime pictures evaluated in the C locale instead of the process locale,
// which a GUI library may change with setlocale at any time.
#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

namespace tabulon::platform {

// As the C runtime formats before anyone calls setlocale: "%x" is MM/DD/YY,
// "%p" is AM or PM. Empty text when the result is empty or, with its
// terminator, does not fit `buffer_chars` characters, as wcsftime reports it.
std::string FormatTmInCLocale(std::string_view picture, const std::tm& tm,
                              std::size_t buffer_chars);

}  // namespace tabulon::platform
