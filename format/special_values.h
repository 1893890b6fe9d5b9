#pragma once
// Fixed texts that fields carry when a value cannot be produced.
#include <string_view>

namespace tabulon::format {

inline constexpr std::string_view kError = "ERROR";
inline constexpr std::string_view kUnknown = "Unknown";
inline constexpr std::string_view kNoFormat = "NO_FORMAT";
inline constexpr std::string_view kNever = "NEVER";
inline constexpr std::string_view kYes = "YES";
inline constexpr std::string_view kNo = "NO";
inline constexpr std::string_view kTrue = "TRUE";
inline constexpr std::string_view kFalse = "FALSE";
inline constexpr std::string_view kNone = "(None)";
// A directory value of a type or form that has no text.
inline constexpr std::string_view kUnableToFormat = "Unable to format";

}  // namespace tabulon::format
