#pragma once
// Building multi-valued fields item by item, and single values without
// line breaks.
#include <string>
#include <string_view>

namespace tabulon::format {

// Appends ", " when the list is not empty, then the item.
void AppendListItem(std::string& list, std::string_view item);
// Appends the secondary delimiter when the list is not empty, then the item.
void AppendDelimited(std::string& list, std::string_view item,
                     std::string_view secondary_delimiter);

// Every LF and CR becomes the first character of `replacement`; an empty
// replacement ends the value at its first line break.
std::string ReplaceLineBreaks(std::string_view value, std::string_view replacement);

}  // namespace tabulon::format
