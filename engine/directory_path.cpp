#include "engine/directory_path.h"

#include "platform/text.h"

namespace tabulon {

std::string DomainNameOfPath(std::string_view path) {
  std::string text(path);
  if (const std::size_t slash = EndOfServerPart(text); slash != std::string::npos) {
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

std::size_t EndOfServerPart(std::string_view path) {
  constexpr std::size_t kFrom = 8;
  return path.find('/', kFrom);
}

std::string DnOfDomainName(std::string_view domain) {
  std::string dn;
  while (!domain.empty()) {
    const std::size_t dot = domain.find('.');
    if (!dn.empty()) dn += ',';
    dn += "DC=";
    dn += domain.substr(0, dot);
    domain = dot == std::string_view::npos ? std::string_view() : domain.substr(dot + 1);
  }
  return dn;
}

}  // namespace tabulon
