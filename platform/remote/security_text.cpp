#include "platform/remote/security_text.h"

#include <charconv>

#include "platform/little_endian.h"
#include "platform/object_security.h"
#include "platform/security.h"

namespace tabulon::platform::remote {
namespace {

struct TextAce {
  std::uint8_t type = 0;
  std::uint8_t flags = 0;
  std::uint32_t mask = 0;
  Sid sid;
};

struct TextDescriptor {
  std::optional<Sid> owner;
  std::optional<Sid> group;
  std::vector<TextAce> aces;
};

// A decimal number, or a hexadecimal one after "0x".
template <typename Number>
bool ReadNumber(std::string_view text, Number& out) {
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out, base);
  return error == std::errc{} && end == text.data() + text.size();
}

// "SID:type/flags/mask".
std::optional<TextAce> ReadAce(std::string_view value) {
  const std::size_t colon = value.rfind(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::optional<Sid> sid = Sid::Parse(value.substr(0, colon));
  std::string_view rest = value.substr(colon + 1);
  const std::size_t first = rest.find('/');
  const std::size_t second = first == std::string_view::npos ? first : rest.find('/', first + 1);
  if (!sid || second == std::string_view::npos) return std::nullopt;
  TextAce ace;
  ace.sid = *sid;
  // Allowed, denied, audit and alarm entries are a mask and a SID; the
  // object types would need GUIDs the text cannot carry.
  constexpr std::uint8_t kLastSimpleType = 3;
  if (!ReadNumber(rest.substr(0, first), ace.type) || ace.type > kLastSimpleType ||
      !ReadNumber(rest.substr(first + 1, second - first - 1), ace.flags) ||
      !ReadNumber(rest.substr(second + 1), ace.mask)) {
    return std::nullopt;
  }
  return ace;
}

std::optional<TextDescriptor> Read(std::string_view text) {
  TextDescriptor d;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of(",\t\n");
    const std::string_view entry = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (entry.empty()) continue;
    const std::size_t colon = entry.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string_view name = entry.substr(0, colon);
    const std::string_view value = entry.substr(colon + 1);
    if (name == "REVISION") {
      unsigned revision = 0;
      if (!ReadNumber(value, revision)) return std::nullopt;
    } else if (name == "OWNER" || name == "GROUP") {
      std::optional<Sid>& sid = name == "OWNER" ? d.owner : d.group;
      // An object without one is written with an empty value.
      if (value.empty()) continue;
      sid = Sid::Parse(value);
      if (!sid) return std::nullopt;
    } else if (name == "ACL") {
      std::optional<TextAce> ace = ReadAce(value);
      if (!ace) return std::nullopt;
      d.aces.push_back(std::move(*ace));
    } else {
      return std::nullopt;
    }
  }
  return d;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> DescriptorFromText(std::string_view text,
                                                            std::uint32_t information) {
  const std::optional<TextDescriptor> d = Read(text);
  if (!d) return std::nullopt;
  constexpr std::uint16_t kSelfRelative = 0x8000;
  constexpr std::uint16_t kDaclPresent = 0x0004;
  constexpr std::size_t kHeader = 20, kOwnerAt = 4, kGroupAt = 8, kDaclAt = 16;
  const bool dacl = (information & kDaclSecurityInformation) != 0;
  std::vector<std::uint8_t> out(kHeader, 0);
  out[0] = 1;
  SetLe16(out, 2, kSelfRelative | (dacl ? kDaclPresent : 0));
  const auto put_sid = [&out](std::size_t at, const std::optional<Sid>& sid) {
    if (!sid) return;
    SetLe32(out, at, static_cast<std::uint32_t>(out.size()));
    sid->AppendBytes(out);
  };
  if ((information & kOwnerSecurityInformation) != 0) put_sid(kOwnerAt, d->owner);
  if ((information & kGroupSecurityInformation) != 0) put_sid(kGroupAt, d->group);
  if (dacl) {
    const std::size_t acl = out.size();
    SetLe32(out, kDaclAt, static_cast<std::uint32_t>(acl));
    out.resize(acl + 8, 0);
    out[acl] = 2;  // ACL_REVISION
    for (const TextAce& ace : d->aces) {
      const std::size_t at = out.size();
      out.resize(at + 8, 0);
      out[at] = ace.type;
      out[at + 1] = ace.flags;
      SetLe16(out, at + 2, 8 + ace.sid.ByteSize());
      SetLe32(out, at + 4, ace.mask);
      ace.sid.AppendBytes(out);
    }
    // An ACL's size and count are 16 bits; the text could name more.
    if (out.size() - acl > 0xFFFF || d->aces.size() > 0xFFFF) return std::nullopt;
    SetLe16(out, acl + 2, static_cast<std::uint32_t>(out.size() - acl));
    SetLe16(out, acl + 4, static_cast<std::uint32_t>(d->aces.size()));
  }
  return out;
}

}  // namespace tabulon::platform::remote
