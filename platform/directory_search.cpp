#include "platform/directory_search.h"

#include <array>

#include "platform/text.h"

namespace tabulon::platform {
namespace {

struct SyntaxRow {
  std::string_view attribute_syntax;
  DirectoryValueKind kind;
};

// attributeSyntax values as the directory interface maps them onto its value
// types. oMSyntax only tells apart types it treats alike (printable and IA5
// strings, UTC and generalized time, integers and enumerations).
constexpr std::array kSyntaxes{
    SyntaxRow{"2.5.5.1", DirectoryValueKind::kDnString},
    SyntaxRow{"2.5.5.2", DirectoryValueKind::kCaseIgnoreString},  // OID
    SyntaxRow{"2.5.5.3", DirectoryValueKind::kCaseExactString},
    SyntaxRow{"2.5.5.4", DirectoryValueKind::kCaseIgnoreString},  // teletex
    SyntaxRow{"2.5.5.5", DirectoryValueKind::kPrintableString},   // printable, IA5
    SyntaxRow{"2.5.5.6", DirectoryValueKind::kNumericString},
    SyntaxRow{"2.5.5.7", DirectoryValueKind::kDnWithBinary},  // also OR-name
    SyntaxRow{"2.5.5.8", DirectoryValueKind::kBoolean},
    SyntaxRow{"2.5.5.9", DirectoryValueKind::kInteger},  // integer, enumeration
    SyntaxRow{"2.5.5.10", DirectoryValueKind::kOctetString},
    SyntaxRow{"2.5.5.11", DirectoryValueKind::kUtcTime},           // UTC and generalized time
    SyntaxRow{"2.5.5.12", DirectoryValueKind::kCaseIgnoreString},  // Unicode
    SyntaxRow{"2.5.5.13", DirectoryValueKind::kCaseIgnoreString},  // presentation address
    SyntaxRow{"2.5.5.14", DirectoryValueKind::kDnWithString},
    SyntaxRow{"2.5.5.15", DirectoryValueKind::kSecurityDescriptor},
    SyntaxRow{"2.5.5.16", DirectoryValueKind::kLargeInteger},
    SyntaxRow{"2.5.5.17", DirectoryValueKind::kOctetString},  // SID
};

std::string FirstValue(const DirectoryEntry& entry, std::string_view name) {
  const DirectoryAttribute* attribute = entry.Find(name);
  return attribute != nullptr && !attribute->values.empty() ? attribute->values.front()
                                                            : std::string();
}

}  // namespace

DirectoryValueKind KindOfSyntax(std::string_view attribute_syntax) {
  for (const SyntaxRow& row : kSyntaxes) {
    if (row.attribute_syntax == attribute_syntax) return row.kind;
  }
  return DirectoryValueKind::kUnknown;
}

const DirectoryAttribute* DirectoryEntry::Find(std::string_view name) const {
  for (const DirectoryAttribute& attribute : attributes) {
    if (text::EqualsNoCase(attribute.name, name)) return &attribute;
  }
  return nullptr;
}

std::string_view DirectoryEntry::FirstValue(std::string_view name) const {
  const DirectoryAttribute* attribute = Find(name);
  return attribute != nullptr && !attribute->values.empty()
             ? std::string_view(attribute->values.front())
             : std::string_view();
}

std::string_view HostOfDirectoryUrl(std::string_view url) {
  const std::size_t scheme = url.find("://");
  if (scheme != std::string_view::npos) url.remove_prefix(scheme + 3);
  url = url.substr(0, url.find('/'));
  if (url.starts_with('[')) return url.substr(1, url.find(']') - 1);
  return url.substr(0, url.find(':'));
}

std::string DnsNameOfDn(std::string_view dn) {
  std::string out;
  std::size_t pos = 0;
  while (pos < dn.size()) {
    std::size_t end = dn.find(',', pos);
    if (end == std::string_view::npos) end = dn.size();
    const std::string_view rdn = text::Trim(dn.substr(pos, end - pos));
    if (text::StartsWithNoCase(rdn, "DC=")) {
      if (!out.empty()) out += '.';
      out += rdn.substr(3);
    }
    pos = end + 1;
  }
  return out;
}

std::string FilterEscapedBytes(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    out += '\\';
    out += kHex[u >> 4];
    out += kHex[u & 15];
  }
  return out;
}

DirectoryStatus ReadObject(DirectorySearch& directory, std::string_view dn,
                           std::span<const std::string> attributes, DirectoryEntry& out) {
  SearchRequest request;
  request.base = std::string(dn);
  request.scope = SearchScope::kBase;
  request.page_size = 0;  // one entry: no paged search for a server to keep
  request.attributes.assign(attributes.begin(), attributes.end());
  bool found = false;
  DirectoryStatus status = directory.Search(request, [&](DirectoryEntry&& entry) {
    out = std::move(entry);
    found = true;
    return false;
  });
  if (status.ok() && !found) status.status = DirectoryHresult(win::ERROR_DS_NO_SUCH_OBJECT);
  return status;
}

void DirectorySearch::ReadObjects(std::span<const std::string> dns,
                                  std::span<const std::string> attributes,
                                  const AttributeKinds* kinds, const ObjectSink& sink) {
  for (std::size_t i = 0; i < dns.size(); ++i) {
    DirectoryEntry entry;
    const DirectoryStatus status = ReadObject(*this, dns[i], attributes, entry);
    if (status.ok()) TagKinds(entry, kinds);
    if (!sink(i, status, std::move(entry))) return;
  }
}

DcInfoResult DirectorySearch::LocateController(std::string_view, std::uint32_t) {
  DcInfoResult result;
  result.status = win::ERROR_NOT_SUPPORTED;
  return result;
}

DirectoryStatus ReadAttributeKinds(DirectorySearch& directory, std::string_view schema_dn,
                                   AttributeKinds& out) {
  SearchRequest request;
  request.base = std::string(schema_dn);
  request.scope = SearchScope::kOneLevel;
  request.filter = "(objectClass=attributeSchema)";
  request.attributes = {"lDAPDisplayName", "attributeSyntax"};
  return directory.Search(request, [&](DirectoryEntry&& entry) {
    const std::string name = FirstValue(entry, "lDAPDisplayName");
    if (name.empty()) return true;
    out[text::ToLower(name)] = KindOfSyntax(FirstValue(entry, "attributeSyntax"));
    return true;
  });
}

void TagKinds(DirectoryEntry& entry, const AttributeKinds* kinds) {
  if (kinds == nullptr) return;
  // Attribute names are ASCII: lowered into a buffer, every entry's names
  // are looked up without an allocation.
  constexpr std::size_t kShortName = 64;
  char lowered[kShortName];
  for (DirectoryAttribute& attribute : entry.attributes) {
    const std::string& name = attribute.name;
    bool ascii = name.size() <= kShortName;
    for (std::size_t i = 0; ascii && i < name.size(); ++i) {
      const auto c = static_cast<unsigned char>(name[i]);
      ascii = c < 0x80;
      lowered[i] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    const auto it = ascii ? kinds->find(std::string_view(lowered, name.size()))
                          : kinds->find(text::ToLower(name));
    if (it != kinds->end()) attribute.kind = it->second;
  }
}

}  // namespace tabulon::platform
