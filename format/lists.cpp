#include "format/lists.h"

#include "platform/text.h"

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

std::string ReplaceLineBreaks(std::string_view value, std::string_view replacement) {
  // Most values hold no line break.
  if (value.find_first_of("\r\n") == std::string_view::npos) return std::string(value);
  std::string first;
  if (!replacement.empty()) {
    std::size_t pos = 0;
    text::NextCodePoint(replacement, pos);
    first = replacement.substr(0, pos);
  }
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    if (c == '\n' || c == '\r') {
      // The replacement is one character; an empty one is a terminator.
      if (first.empty()) return out;
      out += first;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace tabulon::format
