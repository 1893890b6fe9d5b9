#include "platform/credentials.h"

#include "platform/text.h"

namespace tabulon::platform {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

void SplitDomain(Credentials& c) {
  if (const auto slash = c.username.find('\\'); slash != std::string::npos) {
    if (c.domain.empty()) c.domain = c.username.substr(0, slash);
    c.username.erase(0, slash + 1);
  } else if (const auto at = c.username.rfind('@'); at != std::string::npos) {
    if (c.domain.empty()) c.domain = c.username.substr(at + 1);
    c.username.erase(at);
  }
}

}  // namespace

CredentialsParse ParseCredentials(std::string_view text) {
  CredentialsParse result;
  std::size_t line_number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++line_number;
    if (line.empty() || line.front() == '#') continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      result.error = "line " + std::to_string(line_number) + ": expected \"key = value\"";
      return result;
    }
    const std::string_view key = Trim(line.substr(0, eq));
    const std::string value(Trim(line.substr(eq + 1)));
    if (text::EqualsNoCase(key, "username")) {
      result.credentials.username = value;
    } else if (text::EqualsNoCase(key, "password")) {
      result.credentials.password = value;
    } else if (text::EqualsNoCase(key, "domain")) {
      result.credentials.domain = value;
    } else {
      result.error = "line " + std::to_string(line_number) + ": unknown key \"" +
                     std::string(key) + "\"";
      return result;
    }
  }
  if (result.credentials.username.empty()) {
    result.error = "no username";
    return result;
  }
  SplitDomain(result.credentials);
  result.ok = true;
  return result;
}

}  // namespace tabulon::platform
