#pragma once
// The binary forms the directory hands over as octet strings: SIDs, GUIDs and
// self-relative security descriptors. Every reader checks each offset and
// length against the bytes it was given; a short or inconsistent input is a
// failure status, never a read past the end.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/security.h"

namespace tabulon::format {

using Bytes = std::span<const std::uint8_t>;

struct Guid {
  // As stored: Data1, Data2 and Data3 little-endian, then Data4.
  std::array<std::uint8_t, 16> bytes{};
  bool operator==(const Guid&) const = default;
};

// Exactly 16 bytes.
std::optional<Guid> ParseGuid(Bytes bytes);
// "{6B29FC40-CA47-1067-B31D-00DD010662DA}", as StringFromGUID2 writes it.
std::string GuidText(const Guid& guid);
// "6b29fc40-ca47-1067-b31d-00dd010662da", as security descriptor texts write it.
std::string GuidTextLower(const Guid& guid);

// A binary SID at the start of `bytes`; `used` gets its size. Trailing bytes
// are left alone.
std::optional<platform::Sid> ParseSid(Bytes bytes, std::size_t& used);

// Security descriptor control bits.
inline constexpr std::uint16_t kSeDaclPresent = 0x0004;
inline constexpr std::uint16_t kSeSaclPresent = 0x0010;
inline constexpr std::uint16_t kSeDaclAutoInheritReq = 0x0100;
inline constexpr std::uint16_t kSeSaclAutoInheritReq = 0x0200;
inline constexpr std::uint16_t kSeDaclAutoInherited = 0x0400;
inline constexpr std::uint16_t kSeSaclAutoInherited = 0x0800;
inline constexpr std::uint16_t kSeDaclProtected = 0x1000;
inline constexpr std::uint16_t kSeSaclProtected = 0x2000;
inline constexpr std::uint16_t kSeSelfRelative = 0x8000;

// The ACE types a descriptor may carry; others are refused.
enum class AceType : std::uint8_t {
  kAccessAllowed = 0,
  kAccessDenied = 1,
  kSystemAudit = 2,
  kSystemAlarm = 3,
  kAccessAllowedObject = 5,
  kAccessDeniedObject = 6,
  kSystemAuditObject = 7,
  kSystemAlarmObject = 8,
  kSystemMandatoryLabel = 0x11,
};

struct Ace {
  AceType type = AceType::kAccessAllowed;
  std::uint8_t flags = 0;
  std::uint32_t mask = 0;
  std::optional<Guid> object_type;            // object ACEs only
  std::optional<Guid> inherited_object_type;  // object ACEs only
  platform::Sid sid;
};

struct Acl {
  std::uint8_t revision = 2;
  std::vector<Ace> aces;
};

struct SecurityDescriptor {
  std::uint16_t control = kSeSelfRelative;
  std::optional<platform::Sid> owner;
  std::optional<platform::Sid> group;
  // A present flag with no list is a null ACL (everyone has access).
  std::optional<Acl> dacl;
  std::optional<Acl> sacl;
};

enum class DescriptorStatus : std::uint8_t {
  kOk,
  kTruncated,        // a header, SID, ACL or ACE runs past its container
  kBadRevision,      // descriptor, ACL or SID revision unknown
  kNotSelfRelative,  // offsets would be pointers
  kBadOffset,        // an offset points into the header
  kBadAce,           // unknown ACE type or an ACE too small for its type
};

struct DescriptorParse {
  DescriptorStatus status = DescriptorStatus::kOk;
  SecurityDescriptor value;
  // With AceReading::kEachOnItsOwn: the DACL entries that did not read,
  // ascending; each holds a default Ace in the list.
  std::vector<std::size_t> unreadable_dacl_entries;
  bool ok() const { return status == DescriptorStatus::kOk; }
};

// How DACL entries are read: strictly (one bad entry fails the whole
// descriptor) or each on its own, as GetAce reads them, so that a bad entry
// fails alone and one whose size runs past its list fails with every entry
// after it.
enum class AceReading : std::uint8_t { kStrict, kEachOnItsOwn };

DescriptorParse ParseSecurityDescriptor(Bytes bytes, AceReading reading = AceReading::kStrict);

// The self-relative form of `descriptor`, parts laid out after the header in
// the order owner, group, SACL, DACL. Nothing when an access list or an ACE
// outgrows the 16-bit size its header has room for.
std::optional<std::vector<std::uint8_t>> SelfRelativeBytes(const SecurityDescriptor& descriptor);

}  // namespace tabulon::format
