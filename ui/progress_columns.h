#pragma once
// The progress list's column labels: the list's headers and the label row
// Copy Messages writes.
#include <string_view>

namespace tabulon::ui {

inline constexpr std::string_view kObjectNameLabel = "Object Name";
inline constexpr std::string_view kStatusMessageLabel = "Status Message";
inline constexpr std::string_view kProgressListTitle = "Export Progress Messages";

}  // namespace tabulon::ui
