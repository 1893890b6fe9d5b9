#pragma once
// What wldap32 and the DC locator hand back, turned into our value structs.
// Everything here comes from a server: counts and lengths are bounded, a
// null where text was due is a decoding failure or an empty string, never
// a crash. Free of <windows.h> so that tests can call these with records
// they fill by hand.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/directory.h"
#include "platform/directory_search.h"

struct berval;
struct _DOMAIN_CONTROLLER_INFOW;

namespace tabulon::platform::win32 {

// A value longer than this is refused (the remote backend's own largest
// buffer, 64 MiB, is the whole answer of one call).
inline constexpr std::size_t kMaxLdapValueBytes = std::size_t{16} << 20;
// Values of one attribute in one answer: a controller sends 1,500 a slice.
inline constexpr std::size_t kMaxLdapValues = 1u << 20;
// Attributes of one entry, entries of one answer (a page of 250, or an
// unpaged search the server's size limit ends).
inline constexpr std::size_t kMaxLdapAttributes = 10000;
inline constexpr std::size_t kMaxLdapEntries = 100000;
// Names and DNs, in UTF-16 units; a paged-results cookie, in bytes.
inline constexpr std::size_t kMaxLdapNameChars = 0x7FFF;
inline constexpr std::size_t kMaxLdapCookieBytes = 64 * 1024;
inline constexpr std::size_t kMaxDcNameChars = 1024;

// Where Open connects: "ldap://host:port" or "ldaps://host:port"; without a
// host, the DNS name of the base's domain, which the locator turns into a
// controller.
struct LdapTarget {
  bool valid = false;
  bool ssl = false;
  std::wstring host;    // empty only when neither the URL nor the base names one
  bool domain = false;  // `host` is a domain name, not one server's
  std::uint32_t port = 389;
};
LdapTarget ParseLdapTarget(std::string_view url, std::string_view base);

// The status of wldap32 result `rc` (its codes are the protocol's and RFC
// 1823's); the server's error text if it sent one, else the library's.
DirectoryStatus LdapStatus(std::uint32_t rc, const wchar_t* server_text,
                           const wchar_t* library_text);

// A NUL-terminated UTF-16 name of at most `max_chars`; false for null or
// longer.
bool CopyLdapName(const wchar_t* name, std::size_t max_chars, std::string& out);

// The values ldap_get_values_lenW returned (null-terminated array; null: no
// values). A value without bytes where it claims some, one over the limit or
// too many of them is a decoding failure.
DirectoryStatus CopyLdapValues(berval* const* values, std::vector<std::string>& out);

// The paged-results cookie (null or empty: the last page).
DirectoryStatus CopyLdapCookie(const berval* cookie, std::string& out);

// DOMAIN_CONTROLLER_INFOW; strings over kMaxDcNameChars are cut there.
DomainControllerInfo ToDomainControllerInfo(const _DOMAIN_CONTROLLER_INFOW& info);

}  // namespace tabulon::platform::win32
