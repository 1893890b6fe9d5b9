#include "engine/terminal_text.h"

#include <cstdio>

namespace tabulon {
namespace {

void AppendEscaped(std::string& out, unsigned value) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "\\x%02X", value);
  out += hex;
}

}  // namespace

std::string EscapeControls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) {
      AppendEscaped(out, c);
    } else if (c == 0xC2 && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      // U+0080-U+009F in UTF-8: the C1 controls, CSI among them.
      AppendEscaped(out, static_cast<unsigned char>(text[++i]));
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

}  // namespace tabulon
