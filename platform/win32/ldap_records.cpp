#include "platform/win32/ldap_records.h"

#include <windows.h>

#include <dsgetdc.h>
#include <winldap.h>

#include <charconv>
#include <cwchar>

#include "platform/directory_status.h"
#include "platform/text.h"
#include "platform/win32/wide.h"

namespace tabulon::platform::win32 {
namespace {

constexpr std::string_view kLdap = "ldap://";
constexpr std::string_view kLdaps = "ldaps://";

std::string DcText(const wchar_t* text) {
  if (text == nullptr) return {};
  return ToUtf8(std::wstring_view(text, wcsnlen(text, kMaxDcNameChars)));
}

}  // namespace

LdapTarget ParseLdapTarget(std::string_view url, std::string_view base) {
  LdapTarget target;
  if (text::StartsWithNoCase(url, kLdaps)) {
    target.ssl = true;
    target.port = 636;
  } else if (!text::StartsWithNoCase(url, kLdap)) {
    return target;
  }
  std::string_view rest = url.substr(target.ssl ? kLdaps.size() : kLdap.size());
  rest = rest.substr(0, rest.find('/'));
  const std::string_view host = HostOfDirectoryUrl(url);
  // The port follows the host (or its closing bracket).
  std::string_view after = rest;
  if (rest.starts_with('[')) {
    const std::size_t close = rest.find(']');
    if (close == std::string_view::npos) return target;
    after = rest.substr(close + 1);
  } else {
    after = rest.substr(std::min(rest.find(':'), rest.size()));
  }
  if (!after.empty()) {
    if (after.front() != ':') return target;
    after.remove_prefix(1);
    std::uint32_t port = 0;
    const auto [end, error] = std::from_chars(after.data(), after.data() + after.size(), port);
    if (error != std::errc() || end != after.data() + after.size() || port == 0 || port > 65535) {
      return target;
    }
    target.port = port;
  }
  if (host.empty()) {
    target.host = ToWide(DnsNameOfDn(base));
    target.domain = true;
  } else {
    target.host = ToWide(host);
  }
  target.valid = !target.host.empty();
  return target;
}

DirectoryStatus LdapStatus(std::uint32_t rc, const wchar_t* server_text,
                           const wchar_t* library_text) {
  std::string text;
  if (server_text == nullptr || !CopyLdapName(server_text, kMaxLdapNameChars, text) ||
      text.empty()) {
    text.clear();
    if (library_text != nullptr) CopyLdapName(library_text, kMaxLdapNameChars, text);
  }
  return DirectoryStatusFromLdap(static_cast<int>(rc), text);
}

bool CopyLdapName(const wchar_t* name, std::size_t max_chars, std::string& out) {
  if (name == nullptr) return false;
  const std::size_t length = wcsnlen(name, max_chars + 1);
  if (length > max_chars) return false;
  out = ToUtf8(std::wstring_view(name, length));
  return true;
}

DirectoryStatus CopyLdapValues(berval* const* values, std::vector<std::string>& out) {
  out.clear();
  if (values == nullptr) return {};
  for (std::size_t i = 0; values[i] != nullptr; ++i) {
    const berval& value = *values[i];
    if (i >= kMaxLdapValues) {
      return DirectoryStatusFromLdap(
          kLdapDecodingError,
          "more than " + std::to_string(kMaxLdapValues) + " values of one attribute");
    }
    if (value.bv_len > kMaxLdapValueBytes || (value.bv_val == nullptr && value.bv_len != 0)) {
      return DirectoryStatusFromLdap(kLdapDecodingError,
                                     "a value of " + std::to_string(value.bv_len) + " bytes");
    }
    out.emplace_back(value.bv_val != nullptr ? value.bv_val : "", value.bv_len);
  }
  return {};
}

DirectoryStatus CopyLdapCookie(const berval* cookie, std::string& out) {
  out.clear();
  if (cookie == nullptr || cookie->bv_len == 0) return {};
  if (cookie->bv_val == nullptr || cookie->bv_len > kMaxLdapCookieBytes) {
    return DirectoryStatusFromLdap(
        kLdapDecodingError,
        "a paged-results cookie of " + std::to_string(cookie->bv_len) + " bytes");
  }
  out.assign(cookie->bv_val, cookie->bv_len);
  return {};
}

DomainControllerInfo ToDomainControllerInfo(const DOMAIN_CONTROLLER_INFOW& info) {
  DomainControllerInfo out;
  out.dc_name = DcText(info.DomainControllerName);
  out.dc_address = DcText(info.DomainControllerAddress);
  out.domain_name = DcText(info.DomainName);
  out.dns_forest_name = DcText(info.DnsForestName);
  return out;
}

}  // namespace tabulon::platform::win32
