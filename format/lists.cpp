#include "format/lists.h"

namespace tabulon::format {

void AppendListItem(std::string& list, std::string_view item) {
  if (!list.empty()) list += ", ";
  list += item;
}

void AppendDelimited(std::string& list, std::string_view item,
                     std::string_view secondary_delimiter) {
  if (!list.empty()) list += secondary_delimiter;
  list += item;
}

}  // namespace tabulon::format
