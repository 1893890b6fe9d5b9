#pragma once
// Searches of an LDAP directory: open a connection to a directory server,
// search below a base with a filter, read one object, and learn the syntaxes
// of the schema's attributes. Values come back as the bytes the server sent,
// each attribute tagged with its value kind so that formatting can tell a SID
// from a string. Every failure is a directory status: an HRESULT as the
// directory interface of a Windows system reports it, with the server's
// diagnostic text as the extended error.
//
// Paging (250 entries a page) and ranged retrieval of long multi-valued
// attributes ("member;range=0-1499" and on) happen inside Search: the sink
// sees every entry once, with every value.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/credentials.h"
#include "platform/directory.h"
#include "platform/status.h"

namespace tabulon::platform {

inline constexpr std::uint32_t kDirectoryPageSize = 250;
// The provider named in the extended error of a failed directory call.
inline constexpr std::string_view kDirectoryProvider = "LDAP Provider";

// A failure of a Win32 status, as a directory call reports it
// (HRESULT_FROM_WIN32).
constexpr win::Status DirectoryHresult(win::Status win32) {
  return win32 == win::ERROR_SUCCESS ? win32 : (win32 & 0xFFFF) | 0x80070000;
}

struct DirectoryStatus {
  win::Status status = win::ERROR_SUCCESS;  // S_OK or an HRESULT
  // The extended error: the Win32 status behind the result and what the
  // server (or the client library) said about it.
  win::Status extended_code = win::ERROR_SUCCESS;
  std::string extended_text;

  bool ok() const { return status == win::ERROR_SUCCESS; }
};

// The value types of the directory interface that formatting tells apart.
enum class DirectoryValueKind : std::uint8_t {
  kUnknown,  // no syntax known for the attribute: shown as text
  kDnString,
  kCaseExactString,
  kCaseIgnoreString,
  kPrintableString,
  kNumericString,
  kBoolean,
  kInteger,
  kOctetString,
  kUtcTime,
  kLargeInteger,
  kSecurityDescriptor,
  kDnWithBinary,
  kDnWithString,
};

// An attributeSchema object's attributeSyntax ("2.5.5.x") as the directory
// interface types its values; kUnknown for a syntax it does not know.
DirectoryValueKind KindOfSyntax(std::string_view attribute_syntax);

// Looks names up without making a string of them.
struct AttributeNameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const {
    return std::hash<std::string_view>{}(name);
  }
};
// Value kinds by lower-case attribute name.
using AttributeKinds =
    std::unordered_map<std::string, DirectoryValueKind, AttributeNameHash, std::equal_to<>>;

struct DirectoryAttribute {
  std::string name;  // as the server spelled it, without a range option
  DirectoryValueKind kind = DirectoryValueKind::kUnknown;
  std::vector<std::string> values;  // raw bytes, in the server's order
};

struct DirectoryEntry {
  std::string dn;
  std::vector<DirectoryAttribute> attributes;

  // By name, without regard to case; null when the entry has no value.
  const DirectoryAttribute* Find(std::string_view name) const;
  // The first value of attribute `name`; empty when it has none.
  std::string_view FirstValue(std::string_view name) const;
};

enum class SearchScope : std::uint8_t { kBase, kOneLevel, kSubtree };

struct SearchRequest {
  std::string base;  // empty: the base the connection was opened with
  SearchScope scope = SearchScope::kSubtree;
  std::string filter = "(objectClass=*)";
  std::vector<std::string> attributes;           // empty: every user attribute
  std::uint32_t page_size = kDirectoryPageSize;  // 0: one unpaged search
  // Kinds to tag values with; attributes it does not name stay kUnknown.
  const AttributeKinds* kinds = nullptr;
};

struct DirectoryOpenOptions {
  // "ldap://host:port" or "ldaps://host:port"; without a host ("ldap://"),
  // a controller of the domain the base's DC= parts name.
  std::string server;
  std::string base;  // the object the connection is opened on (a DN)
  // Null or empty: the session's; both empty: an anonymous bind. With a password:
  // a simple bind (only over TLS outside tests). use_kerberos: SASL GSSAPI
  // with the caller's tickets.
  const Credentials* credentials = nullptr;
  bool start_tls = false;        // ldap:// only: StartTLS before binding
  std::string ca_file;           // empty: the system's trusted authorities
  std::uint32_t timeout_ms = 0;  // connect and each operation; 0: the session's
};

// Called once per entry found; returning false ends the search early (the
// search then reports success with what was delivered).
using EntrySink = std::function<bool(DirectoryEntry&&)>;

// Called once per object of a ReadObjects, in the order asked: its index, how
// its read went (the HRESULT of ERROR_DS_NO_SUCH_OBJECT when there is none)
// and, when it was read, the object. Returning false ends the reads.
using ObjectSink =
    std::function<bool(std::size_t index, const DirectoryStatus& status, DirectoryEntry&& entry)>;

class DirectorySearch {
 public:
  virtual ~DirectorySearch() = default;
  // Connects and binds; a connection opened before is closed first.
  virtual DirectoryStatus Open(const DirectoryOpenOptions& options) = 0;
  virtual DirectoryStatus Search(const SearchRequest& request, const EntrySink& sink) = 0;
  virtual void Close() = 0;
  // The objects `dns` name (base reads), their values tagged with `kinds`.
  // A backend may have several reads in flight while the sink runs; the
  // sink may search the same directory meanwhile. By default one after
  // another.
  virtual void ReadObjects(std::span<const std::string> dns,
                           std::span<const std::string> attributes, const AttributeKinds* kinds,
                           const ObjectSink& sink);
  // DsGetDcName for the directory domain `dns_domain` as the directory
  // itself answers it, on a connection of its own (one opened before stays
  // as it is); ERROR_NOT_SUPPORTED where the backend cannot ask.
  virtual DcInfoResult LocateController(std::string_view dns_domain, std::uint32_t flags);
};

// "ldap://host:port/..." -> "host"; empty when the URL names none, which
// asks for a controller of the domain the base names.
std::string_view HostOfDirectoryUrl(std::string_view url);
// The DNS name a DN's DC= parts spell: "OU=x,DC=example,DC=test" ->
// "example.test".
std::string DnsNameOfDn(std::string_view dn);

// "\xx" for every byte: an octet string (a SID, a GUID) as the value of a
// search filter.
std::string FilterEscapedBytes(std::string_view bytes);

// One object by DN (a base search); the HRESULT of ERROR_DS_NO_SUCH_OBJECT
// when there is none.
DirectoryStatus ReadObject(DirectorySearch& directory, std::string_view dn,
                           std::span<const std::string> attributes, DirectoryEntry& out);

// The value kinds of every attributeSchema object below `schema_dn` (the
// schema naming context), by lDAPDisplayName.
DirectoryStatus ReadAttributeKinds(DirectorySearch& directory, std::string_view schema_dn,
                                   AttributeKinds& out);

// Tags the entry's attributes with their kinds.
void TagKinds(DirectoryEntry& entry, const AttributeKinds* kinds);

}  // namespace tabulon::platform
