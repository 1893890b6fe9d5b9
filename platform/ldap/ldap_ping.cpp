#include "platform/ldap/ldap_ping.h"

#include "platform/byte_reader.h"
#include "platform/directory_search.h"
#include "platform/ldap/dc_locator.h"
#include "platform/ldap/ldap_connection.h"

namespace tabulon::platform::ldap {
namespace {

constexpr std::uint16_t kLogonSamLogonResponseEx = 23;
// What a reply says of the controller (DS_*_FLAG), and what each
// DsGetDcName flag requires of it.
constexpr std::uint32_t kDsPdcFlag = 0x1;
constexpr std::uint32_t kDsDsFlag = 0x10;
constexpr std::uint32_t kDsWritableFlag = 0x100;
// DNS names are at most 255 octets; a pointer chain longer than this is a
// loop.
constexpr std::size_t kMaxNameLength = 255;
constexpr int kMaxPointers = 16;

// A name as RFC 1035 compresses it: labels, or a pointer to labels
// elsewhere in the reply; dots between the labels. The reader goes on after
// the name as it stands where it was (its labels and their end, or up to
// and including the first pointer).
bool ReadName(ByteReader& reader, std::string& out) {
  const std::span<const std::uint8_t> bytes = reader.bytes();
  out.clear();
  std::size_t at = reader.at();
  std::size_t end = 0;
  bool jumped = false;
  for (int pointers = 0;;) {
    if (at >= bytes.size()) return false;
    const unsigned length = bytes[at];
    if (length == 0) {
      if (!jumped) end = at + 1;
      return reader.Skip(end - reader.at());
    }
    if ((length & 0xC0) == 0xC0) {
      if (at + 1 >= bytes.size() || ++pointers > kMaxPointers) return false;
      if (!jumped) end = at + 2;
      jumped = true;
      at = (length & 0x3F) << 8 | bytes[at + 1];
      continue;
    }
    if ((length & 0xC0) != 0 || bytes.size() - at - 1 < length) return false;
    if (!out.empty()) out += '.';
    out.append(reinterpret_cast<const char*>(bytes.data()) + at + 1, length);
    if (out.size() > kMaxNameLength) return false;
    at += 1 + length;
  }
}

// The value of a filter, with what would end or change the filter escaped.
std::string FilterValue(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '*' || c == '(' || c == ')' || c == '\\' || c == '\0') {
      out += FilterEscapedBytes(std::string_view(&c, 1));
    } else {
      out += c;
    }
  }
  return out;
}

bool Meets(std::uint32_t reply_flags, std::uint32_t flags) {
  return ((flags & kDsPdcRequired) == 0 || (reply_flags & kDsPdcFlag) != 0) &&
         ((flags & kDsDirectoryServiceRequired) == 0 || (reply_flags & kDsDsFlag) != 0) &&
         ((flags & kDsWritableRequired) == 0 || (reply_flags & kDsWritableFlag) != 0);
}

DcInfoResult NoSuchDomain() {
  DcInfoResult result;
  result.status = win::ERROR_NO_SUCH_DOMAIN;
  return result;
}

}  // namespace

std::string PingFilter(std::string_view dns_domain) {
  return "(&(DnsDomain=" + FilterValue(dns_domain) + ")(NtVer=\\06\\00\\00\\00))";
}

bool DecodePingReply(std::string_view bytes, PingReply& out) {
  ByteReader reader({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  std::uint16_t opcode = 0;
  std::string user;
  std::string site;
  return reader.U16(opcode) && opcode == kLogonSamLogonResponseEx && reader.Skip(2) &&
         reader.U32(out.flags) && reader.Skip(16) && ReadName(reader, out.dns_forest) &&
         ReadName(reader, out.dns_domain) && ReadName(reader, out.dns_host) &&
         ReadName(reader, out.netbios_domain) && ReadName(reader, out.netbios_computer) &&
         ReadName(reader, user) && ReadName(reader, site) && ReadName(reader, site);
}

DcInfoResult PingDomainController(std::string_view dns_domain, std::uint32_t flags,
                                  const CancelToken& cancel, std::chrono::milliseconds timeout) {
  const LocatedControllers located = LocateDomainControllers(dns_domain);
  if (!located.status.ok()) return NoSuchDomain();
  SearchRequest request;
  request.base.clear();
  request.scope = SearchScope::kBase;
  request.filter = PingFilter(dns_domain);
  request.attributes = {"Netlogon"};
  request.page_size = 0;
  for (const LocatedController& controller : located.controllers) {
    if (cancel.cancelled()) break;
    LdapConnection connection(cancel, timeout);
    DirectoryOpenOptions options;
    const std::string url = "ldap://" + controller.host + ":" + std::to_string(controller.port);
    if (!connection.Open(url, options, {}).ok()) continue;
    PingReply reply;
    bool answered = false;
    connection.Search({}, request, [&](DirectoryEntry&& entry) {
      const DirectoryAttribute* netlogon = entry.Find("Netlogon");
      answered = netlogon != nullptr && !netlogon->values.empty() &&
                 DecodePingReply(netlogon->values.front(), reply);
      return false;
    });
    if (!answered || !Meets(reply.flags, flags)) continue;
    DcInfoResult result;
    result.info.dc_name = "\\\\" + reply.netbios_computer;
    result.info.dc_address = "\\\\" + controller.host;
    result.info.domain_name =
        (flags & kDsReturnFlatName) != 0 ? reply.netbios_domain : reply.dns_domain;
    result.info.dns_forest_name = reply.dns_forest;
    return result;
  }
  return NoSuchDomain();
}

}  // namespace tabulon::platform::ldap
