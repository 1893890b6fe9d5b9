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

CredentialsParse Refused(std::size_t line_number, std::string_view cause) {
  CredentialsParse result;
  result.error = "line " + std::to_string(line_number) + ": " + std::string(cause);
  return result;
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
    // Nothing of a refused line is quoted: a misplaced separator can leave
    // the password on either side of it.
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return Refused(line_number, "expected \"key = value\"");
    const std::string_view key = Trim(line.substr(0, eq));
    const std::string_view value = Trim(line.substr(eq + 1));
    if (text::EqualsNoCase(key, "username")) {
      result.credentials.username = value;
    } else if (text::EqualsNoCase(key, "password")) {
      result.credentials.password = Secret(value);
    } else if (text::EqualsNoCase(key, "domain")) {
      result.credentials.domain = value;
    } else {
      return Refused(line_number, "unknown key; the keys are username, password and domain");
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
