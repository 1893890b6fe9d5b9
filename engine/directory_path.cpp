#include "engine/directory_path.h"

#include "platform/text.h"

namespace tabulon {

std::string DomainNameOfPath(std::string_view path) {
  std::string text(path);
  // A "/" from the ninth character on ends the scheme and server part.
  if (const std::size_t slash = text.find('/', 8); slash != std::string::npos) {
    text = text::ToUpper(text.substr(slash + 1));
  }
  if (const std::size_t dc = text.find("DC="); dc != std::string::npos) {
    const std::string_view rest = std::string_view(text).substr(dc + 3);
    std::string name;
    std::size_t start = 0;
    while (true) {
      const std::size_t next = rest.find(",DC=", start);
      name += rest.substr(start, next == std::string_view::npos ? next : next - start);
      if (next == std::string_view::npos) break;
      name += '.';
      start = next + 4;
    }
    return name;
  }
  if (text.starts_with("LDAP://")) return text.substr(7);
  return text;
}

}  // namespace tabulon
