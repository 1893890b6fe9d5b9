#include "format/sddl.h"

#include <gtest/gtest.h>

#include <string>

#include "descriptor_bytes.h"
#include "format/security_descriptor.h"

namespace tabulon::format {
namespace {

using namespace testing;  // NOLINT(google-build-using-namespace): the byte builders

constexpr std::uint16_t kDacl = kSeSelfRelative | kSeDaclPresent;

const std::string kSystem = SidBytes(5, {18});
const std::string kAdmins = SidBytes(5, {32, 544});
const std::string kUsers = SidBytes(5, {32, 545});
const std::string kCreatorOwner = SidBytes(3, {0});
const std::string kEveryone = SidBytes(1, {0});
const std::string kDomainAdmins = SidBytes(5, {21, 1, 2, 3, 512});
const std::string kDomainUsers = SidBytes(5, {21, 1, 2, 3, 513});

// ab721a53-1e2f-11d0-9819-00aa0040529b as stored.
const std::string kGuidBytes = Le32(0xab721a53) + Le16(0x1e2f) + Le16(0x11d0) +
                               std::string("\x98\x19\x00\xaa\x00\x40\x52\x9b", 8);

Bytes AsBytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::string Sddl(const std::string& bytes) {
  const DescriptorParse parse = ParseSecurityDescriptor(AsBytes(bytes));
  EXPECT_TRUE(parse.ok()) << static_cast<int>(parse.status);
  return SddlText(parse.value);
}

TEST(Sddl, Texts) {
  struct Case {
    const char* what;
    std::string bytes;
    const char* sddl;
  } cases[] = {
      {"file system default",
       DescriptorBytes(
           kDacl, kAdmins, kSystem, "",
           AclBytes({AceBytes(0, 0, 0x1F01FF, kSystem), AceBytes(0, 0, 0x1F01FF, kAdmins)})),
       "O:BAG:SYD:(A;;FA;;;SY)(A;;FA;;;BA)"},
      {"protected, inheritance flags, hex and generic rights",
       DescriptorBytes(
           kDacl | kSeDaclProtected | kSeDaclAutoInherited, "", "", "",
           AclBytes(
               {AceBytes(0, 0x3, 0x1F01FF, kSystem), AceBytes(0, 0xB, 0x10000000, kCreatorOwner),
                AceBytes(0, 0x13, 0x1200A9, kUsers), AceBytes(1, 0x4, 0xA0000000, kEveryone)})),
       "D:PAI(A;OICI;FA;;;SY)(A;OICIIO;GA;;;CO)(A;OICIID;0x1200a9;;;BU)(D;NP;GXGR;;;WD)"},
      {"domain aliases relative to the owner, other domains in full, directory rights",
       DescriptorBytes(kDacl | kSeDaclAutoInheritReq, kDomainAdmins, kDomainUsers, "",
                       AclBytes({AceBytes(0, 0, 0xF01FF, kDomainAdmins),
                                 AceBytes(0, 0, 0x20094, SidBytes(5, {21, 9, 9, 9, 512})),
                                 AceBytes(0, 0, 0x20019, SidBytes(5, {21, 1, 2, 3, 1105}))})),
       "O:DAG:DUD:AR(A;;CCDCLCSWRPWPDTLOCRSDRCWDWO;;;DA)(A;;LCRPLORC;;;S-1-5-21-9-9-9-512)"
       "(A;;KR;;;S-1-5-21-1-2-3-1105)"},
      {"object ACEs with one and with both GUIDs",
       DescriptorBytes(kDacl, "", "", "",
                       AclBytes({AceBytes(5, 0x2, 0x100, kEveryone, Le32(1) + kGuidBytes),
                                 AceBytes(6, 0, 0x20, kUsers, Le32(3) + kGuidBytes + kGuidBytes),
                                 AceBytes(5, 0, 0x10, kUsers, Le32(0))})),
       "D:(OA;CI;CR;ab721a53-1e2f-11d0-9819-00aa0040529b;;WD)"
       "(OD;;WP;ab721a53-1e2f-11d0-9819-00aa0040529b;ab721a53-1e2f-11d0-9819-00aa0040529b;BU)"
       "(OA;;RP;;;BU)"},
      {"null DACL, audit SACL, well-known SID outside the table",
       DescriptorBytes(kDacl | kSeSaclPresent | kSeSaclProtected, kSystem, "",
                       AclBytes({AceBytes(2, 0xC0, 0x10000, SidBytes(5, {80, 7}))}), ""),
       "O:SYD:NO_ACCESS_CONTROLS:P(AU;SAFA;SD;;;S-1-5-80-7)"},
      {"empty DACL, ACL offsets without present bits ignored",
       DescriptorBytes(kDacl, "", "", AclBytes({}), AclBytes({})), "D:"},
      {"nothing present", DescriptorBytes(kSeSelfRelative, "", "", "", ""), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Sddl(c.bytes), c.sddl) << c.what;
}

TEST(Sddl, DamagedDescriptorsFail) {
  const std::string good = DescriptorBytes(
      kDacl | kSeSaclPresent, kAdmins, kSystem, AclBytes({AceBytes(2, 0x40, 0x1, kEveryone)}),
      AclBytes({AceBytes(5, 0, 0x100, kEveryone, Le32(3) + kGuidBytes + kGuidBytes)}));
  ASSERT_TRUE(ParseSecurityDescriptor(AsBytes(good)).ok());
  // Every part lies at the end of the bytes, so every shorter prefix cuts one.
  for (std::size_t n = 0; n < good.size(); ++n) {
    EXPECT_FALSE(ParseSecurityDescriptor(AsBytes(good.substr(0, n))).ok()) << n;
  }

  auto patched = [&good](std::size_t at, const std::string& bytes) {
    return std::string(good).replace(at, bytes.size(), bytes);
  };
  const std::size_t dacl = static_cast<std::uint8_t>(good[16]);
  struct Case {
    const char* what;
    std::string bytes;
    DescriptorStatus status;
  } cases[] = {
      {"descriptor revision", patched(0, "\x02"), DescriptorStatus::kBadRevision},
      {"absolute form", patched(2, Le16(kDacl & ~kSeSelfRelative)),
       DescriptorStatus::kNotSelfRelative},
      {"owner inside the header", patched(4, Le32(8)), DescriptorStatus::kBadOffset},
      {"owner past the end", patched(4, Le32(0xFFFFFFF0)), DescriptorStatus::kTruncated},
      {"owner cut by the end", patched(4, Le32(static_cast<std::uint32_t>(good.size() - 4))),
       DescriptorStatus::kTruncated},
      {"ACE SID longer than its ACE", patched(good.size() - 11, "\x02"), DescriptorStatus::kBadAce},
      {"ACL revision", patched(dacl, "\x07"), DescriptorStatus::kBadRevision},
      {"ACL longer than the bytes", patched(dacl + 2, Le16(0xFFF0)), DescriptorStatus::kTruncated},
      {"more ACEs than the ACL holds", patched(dacl + 4, Le16(2)), DescriptorStatus::kTruncated},
      {"ACE of size zero", patched(dacl + 10, Le16(0)), DescriptorStatus::kTruncated},
      {"ACE longer than its ACL", patched(dacl + 10, Le16(0x200)), DescriptorStatus::kTruncated},
      {"callback ACE type", patched(dacl + 8, "\x09"), DescriptorStatus::kBadAce},
      {"object ACE too short for its GUIDs", patched(dacl + 10, Le16(12 + 16)),
       DescriptorStatus::kBadAce},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseSecurityDescriptor(AsBytes(c.bytes)).status, c.status) << c.what;
  }
}

}  // namespace
}  // namespace tabulon::format
