#include "format/security_descriptor.h"

#include <cstdio>
#include <tuple>
#include <utility>

#include "platform/byte_reader.h"
#include "platform/little_endian.h"

namespace tabulon::format {
namespace {

constexpr std::size_t kDescriptorHeader = 20;
constexpr std::size_t kAclHeader = 8;
constexpr std::size_t kAceHeader = 4;
constexpr std::size_t kSidHeader = 8;
constexpr std::uint8_t kMaxSubAuthorities = 15;
constexpr std::uint32_t kObjectTypePresent = 0x1;
constexpr std::uint32_t kInheritedObjectTypePresent = 0x2;

// Every caller has checked the sizes before; a read past the end would be 0.
std::uint16_t Le16(Bytes b, std::size_t at) {
  return platform::Le16At(b, at).value_or(0);
}
std::uint32_t Le32(Bytes b, std::size_t at) {
  return platform::Le32At(b, at).value_or(0);
}

// Data1, Data2 and Data3 are little-endian numbers; Data4 is eight bytes.
std::string GuidWith(const Guid& g, bool upper) {
  const auto& b = g.bytes;
  char out[40];
  if (upper) {
    std::snprintf(out, sizeof out, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", Le32(b, 0),
                  Le16(b, 4), Le16(b, 6), b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
  } else {
    std::snprintf(out, sizeof out, "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", Le32(b, 0),
                  Le16(b, 4), Le16(b, 6), b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
  }
  return out;
}

bool IsObjectAce(AceType type) {
  return type == AceType::kAccessAllowedObject || type == AceType::kAccessDeniedObject ||
         type == AceType::kSystemAuditObject || type == AceType::kSystemAlarmObject;
}

bool IsKnownAce(std::uint8_t type) {
  switch (static_cast<AceType>(type)) {
    case AceType::kAccessAllowed:
    case AceType::kAccessDenied:
    case AceType::kSystemAudit:
    case AceType::kSystemAlarm:
    case AceType::kAccessAllowedObject:
    case AceType::kAccessDeniedObject:
    case AceType::kSystemAuditObject:
    case AceType::kSystemAlarmObject:
    case AceType::kSystemMandatoryLabel:
      return true;
  }
  return false;
}

// The SID a descriptor field points at, which must lie wholly in `bytes`.
DescriptorStatus SidAt(Bytes bytes, std::size_t offset, platform::Sid& sid) {
  if (offset < kDescriptorHeader) return DescriptorStatus::kBadOffset;
  if (offset >= bytes.size()) return DescriptorStatus::kTruncated;
  std::size_t used = 0;
  const auto parsed = ParseSid(bytes.subspan(offset), used);
  if (!parsed) {
    return bytes.size() - offset >= kSidHeader && bytes[offset] != 1
               ? DescriptorStatus::kBadRevision
               : DescriptorStatus::kTruncated;
  }
  sid = *parsed;
  return DescriptorStatus::kOk;
}

DescriptorStatus ParseAce(Bytes ace, Ace& out) {
  out.type = static_cast<AceType>(ace[0]);
  out.flags = ace[1];
  std::size_t at = kAceHeader;
  if (ace.size() < at + 4) return DescriptorStatus::kBadAce;
  out.mask = Le32(ace, at);
  at += 4;
  if (IsObjectAce(out.type)) {
    if (ace.size() < at + 4) return DescriptorStatus::kBadAce;
    const std::uint32_t present = Le32(ace, at);
    at += 4;
    for (const auto& [bit, guid] :
         {std::pair{kObjectTypePresent, &out.object_type},
          std::pair{kInheritedObjectTypePresent, &out.inherited_object_type}}) {
      if ((present & bit) == 0) continue;
      if (ace.size() < at + 16) return DescriptorStatus::kBadAce;
      *guid = ParseGuid(ace.subspan(at, 16));
      at += 16;
    }
  }
  std::size_t used = 0;
  const auto sid = ParseSid(ace.subspan(at), used);
  if (!sid) return DescriptorStatus::kBadAce;
  out.sid = *sid;
  return DescriptorStatus::kOk;
}

// `unreadable` set: entries that fail are noted there instead of failing
// the list.
DescriptorStatus AclAt(Bytes bytes, std::size_t offset, Acl& acl,
                       std::vector<std::size_t>* unreadable) {
  if (offset < kDescriptorHeader) return DescriptorStatus::kBadOffset;
  if (offset > bytes.size() || bytes.size() - offset < kAclHeader) {
    return DescriptorStatus::kTruncated;
  }
  const Bytes header = bytes.subspan(offset);
  acl.revision = header[0];
  if (acl.revision != 2 && acl.revision != 4) return DescriptorStatus::kBadRevision;
  const std::size_t size = Le16(header, 2);
  const std::size_t count = Le16(header, 4);
  if (size < kAclHeader || size > header.size()) return DescriptorStatus::kTruncated;
  const Bytes body = header.subspan(0, size);
  std::size_t at = kAclHeader;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t ace_size = body.size() - at < kAceHeader ? 0 : Le16(body, at + 2);
    if (ace_size < kAceHeader || ace_size > body.size() - at) {
      if (unreadable == nullptr) return DescriptorStatus::kTruncated;
      // Nothing after it can be found either.
      for (; i < count; ++i) {
        unreadable->push_back(i);
        acl.aces.emplace_back();
      }
      break;
    }
    Ace ace;
    DescriptorStatus status = DescriptorStatus::kBadAce;
    if (IsKnownAce(body[at])) status = ParseAce(body.subspan(at, ace_size), ace);
    if (status != DescriptorStatus::kOk) {
      if (unreadable == nullptr) return status;
      unreadable->push_back(i);
      ace = {};
    }
    acl.aces.push_back(std::move(ace));
    at += ace_size;
  }
  return DescriptorStatus::kOk;
}

// Sizes are filled in once the parts are written; false when one does not
// fit its 16-bit field.
bool PutAcl(std::vector<std::uint8_t>& out, const Acl& acl) {
  const std::size_t start = out.size();
  out.push_back(acl.revision);
  out.push_back(0);
  platform::AppendLe16(out, 0);
  platform::AppendLe16(out, acl.aces.size());
  platform::AppendLe16(out, 0);
  for (const Ace& ace : acl.aces) {
    const std::size_t at = out.size();
    out.push_back(static_cast<std::uint8_t>(ace.type));
    out.push_back(ace.flags);
    platform::AppendLe16(out, 0);
    platform::AppendLe32(out, ace.mask);
    if (IsObjectAce(ace.type)) {
      platform::AppendLe32(out, (ace.object_type ? kObjectTypePresent : 0) |
                                    (ace.inherited_object_type ? kInheritedObjectTypePresent : 0));
      for (const auto* guid : {&ace.object_type, &ace.inherited_object_type}) {
        if (*guid) out.insert(out.end(), (*guid)->bytes.begin(), (*guid)->bytes.end());
      }
    }
    ace.sid.AppendBytes(out);
    if (out.size() - at > 0xFFFF) return false;
    platform::SetLe16(out, at + 2, out.size() - at);
  }
  if (out.size() - start > 0xFFFF || acl.aces.size() > 0xFFFF) return false;
  platform::SetLe16(out, start + 2, out.size() - start);
  return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> SelfRelativeBytes(const SecurityDescriptor& descriptor) {
  std::uint16_t control = descriptor.control | kSeSelfRelative;
  if (descriptor.dacl) control |= kSeDaclPresent;
  if (descriptor.sacl) control |= kSeSaclPresent;
  std::vector<std::uint8_t> out{1, 0};
  platform::AppendLe16(out, control);
  out.resize(kDescriptorHeader);
  constexpr std::size_t kOwnerAt = 4, kGroupAt = 8, kSaclAt = 12, kDaclAt = 16;
  for (const auto& [at, sid] :
       {std::pair{kOwnerAt, &descriptor.owner}, std::pair{kGroupAt, &descriptor.group}}) {
    if (!*sid) continue;
    platform::SetLe32(out, at, static_cast<std::uint32_t>(out.size()));
    (*sid)->AppendBytes(out);
  }
  for (const auto& [at, acl] :
       {std::pair{kSaclAt, &descriptor.sacl}, std::pair{kDaclAt, &descriptor.dacl}}) {
    if (!*acl) continue;
    platform::SetLe32(out, at, static_cast<std::uint32_t>(out.size()));
    if (!PutAcl(out, **acl)) return std::nullopt;
  }
  return out;
}

std::optional<Guid> ParseGuid(Bytes bytes) {
  if (bytes.size() != 16) return std::nullopt;
  Guid guid;
  for (std::size_t i = 0; i < 16; ++i) guid.bytes[i] = bytes[i];
  return guid;
}

std::string GuidText(const Guid& guid) {
  return GuidWith(guid, true);
}

std::string GuidTextLower(const Guid& guid) {
  return GuidWith(guid, false);
}

std::optional<platform::Sid> ParseSid(Bytes bytes, std::size_t& used) {
  if (bytes.size() < kSidHeader || bytes[0] != 1) return std::nullopt;
  const std::uint8_t count = bytes[1];
  if (count > kMaxSubAuthorities) return std::nullopt;
  const std::size_t size = kSidHeader + 4 * std::size_t{count};
  if (bytes.size() < size) return std::nullopt;
  platform::Sid sid;
  sid.revision = bytes[0];
  sid.authority = 0;
  // The identifier authority is the one big-endian field.
  for (std::size_t i = 2; i < kSidHeader; ++i) sid.authority = (sid.authority << 8) | bytes[i];
  for (std::size_t i = 0; i < count; ++i) sid.sub_authorities.push_back(Le32(bytes, 8 + 4 * i));
  used = size;
  return sid;
}

DescriptorParse ParseSecurityDescriptor(Bytes bytes, AceReading reading) {
  DescriptorParse parse;
  auto fail = [&parse](DescriptorStatus status) {
    parse.status = status;
    parse.value = {};
    parse.unreadable_dacl_entries.clear();
    return parse;
  };
  if (bytes.size() < kDescriptorHeader) return fail(DescriptorStatus::kTruncated);
  if (bytes[0] != 1) return fail(DescriptorStatus::kBadRevision);
  SecurityDescriptor& sd = parse.value;
  sd.control = Le16(bytes, 2);
  if ((sd.control & kSeSelfRelative) == 0) return fail(DescriptorStatus::kNotSelfRelative);
  const std::uint32_t owner = Le32(bytes, 4);
  const std::uint32_t group = Le32(bytes, 8);
  const std::uint32_t sacl = Le32(bytes, 12);
  const std::uint32_t dacl = Le32(bytes, 16);
  for (const auto& [offset, sid] : {std::pair{owner, &sd.owner}, std::pair{group, &sd.group}}) {
    if (offset == 0) continue;
    platform::Sid value;
    if (const auto status = SidAt(bytes, offset, value); status != DescriptorStatus::kOk) {
      return fail(status);
    }
    *sid = std::move(value);
  }
  // An ACL offset counts only with its present bit; a present bit without an
  // offset is a null ACL, which stays an empty optional.
  for (const auto& [present, offset, acl] :
       {std::tuple{kSeDaclPresent, dacl, &sd.dacl}, std::tuple{kSeSaclPresent, sacl, &sd.sacl}}) {
    if ((sd.control & present) == 0 || offset == 0) continue;
    Acl value;
    std::vector<std::size_t>* unreadable = reading == AceReading::kEachOnItsOwn && acl == &sd.dacl
                                               ? &parse.unreadable_dacl_entries
                                               : nullptr;
    if (const auto status = AclAt(bytes, offset, value, unreadable);
        status != DescriptorStatus::kOk) {
      return fail(status);
    }
    *acl = std::move(value);
  }
  return parse;
}

}  // namespace tabulon::format
