#pragma once
// Building multi-valued fields item by item.
#include <string>
#include <string_view>

namespace tabulon::format {

// Appends ", " when the list is not empty, then the item.
void AppendListItem(std::string& list, std::string_view item);
// Appends the secondary delimiter when the list is not empty, then the item.
void AppendDelimited(std::string& list, std::string_view item,
                     std::string_view secondary_delimiter);

}  // namespace tabulon::format
