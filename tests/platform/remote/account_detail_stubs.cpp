// Replies of the user, group, alias, domain policy and LSA policy calls,
// field by field as a server marshals them.
#include "platform/remote/sample_stubs.h"

namespace tabulon::platform::remote::testing {

// clang-format off
std::vector<std::uint8_t> DisplayUsersReply() {
  return Stub()
      .U32(1).U32(1).U16(1).Align(4)            // totals, DomainDisplayUser
      .U32(1).U32(0x20000).U32(1)               // EntriesRead, Buffer, conformance
      .U32(1).U32(1105).U32(0x210)              // index, RID, normal, password never expires
      .U16(10).U16(10).U32(0x20004)             // AccountName
      .U16(0).U16(0).U32(0)                     // AdminComment: none
      .U16(6).U16(8).U32(0x20008)               // FullName
      .Counted(u"alice").Counted(u"Ali")
      .U32(0)
      .bytes();
}

std::vector<std::uint8_t> LookupIdsReply() {
  return Stub()
      .U32(2).U32(0x20000).U32(2)               // Names: Count, Element, conformance
      .U16(10).U16(10).U32(0x20004).U16(0).U16(0).U32(0)
      .Counted(u"alice")
      .U32(2).U32(0x20008).U32(2).U32(1).U32(8) // Use: user, unknown
      .U32(0x107)                               // STATUS_SOME_NOT_MAPPED
      .bytes();
}

std::vector<std::uint8_t> UserAllReply() {
  Stub s;
  s.U32(0x20000).U16(21).Align(4);              // Buffer, UserAllInformation
  s.U32(0xD53E8000).U32(0x01D9A0B1);            // LastLogon
  for (int i = 0; i < 5; ++i) s.U32(0).U32(0);  // LastLogoff ... PasswordMustChange
  s.U16(10).U16(10).U32(0x20004);               // UserName
  s.U16(4).U16(4).U32(0x20008);                 // FullName
  for (int i = 0; i < 8; ++i) s.U16(0).U16(0).U32(0);
  s.U16(0).U16(0).U32(0);                       // LmOwfPassword
  s.U16(4).U16(4).U32(0x2000c);                 // NtOwfPassword: two units
  s.U16(0).U16(0).U32(0);                       // PrivateData
  s.U32(4).U32(0x20010);                        // SecurityDescriptor: 4 bytes
  s.U32(1105).U32(513).U32(0x211).U32(0x00FFFFFF);
  s.U16(168).Align(4).U32(0x20014);             // LogonHours
  s.U16(3).U16(7).U16(0).U16(0).Raw({0, 0, 1, 0});
  s.Counted(u"alice").Counted(u"Al");
  s.U32(2).U32(0).U32(2).U16(0x1111).U16(0x2222);
  s.U32(4).Raw({1, 0, 4, 0x80});
  s.U32(1260).U32(0).U32(21).Raw(std::vector<std::uint8_t>(21, 0xFF));
  return s.U32(0).bytes();
}

std::vector<std::uint8_t> GroupsForUserReply() {
  return Stub()
      .U32(0x20000).U32(2).U32(0x20004).U32(2)  // Groups, MembershipCount, Groups, conformance
      .U32(513).U32(7).U32(512).U32(7)
      .U32(0)
      .bytes();
}

std::vector<std::uint8_t> AliasMembershipReply() {
  return Stub().U32(1).U32(0x20000).U32(1).U32(0x220).U32(0).bytes();
}

std::vector<std::uint8_t> GroupGeneralReply() {
  return Stub()
      .U32(0x20000).U16(1).Align(4)             // Buffer, GroupGeneralInformation
      .U16(26).U16(26).U32(0x20004).U32(7).U32(1)
      .U16(12).U16(12).U32(0x20008)
      .Counted(u"Domain Admins").Counted(u"Admins")
      .U32(0)
      .bytes();
}

std::vector<std::uint8_t> AliasGeneralReply() {
  return Stub()
      .U32(0x20000).U16(1).Align(4)             // Buffer, AliasGeneralInformation
      .U16(28).U16(28).U32(0x20004).U32(3).U16(0).U16(0).U32(0)
      .Counted(u"Administrators")
      .U32(0)
      .bytes();
}

std::vector<std::uint8_t> GroupMembersReply() {
  return Stub()
      .U32(0x20000).U32(2).U32(0x20004).U32(0x20008)  // Members: count, RIDs, attributes
      .U32(2).U32(500).U32(1105)
      .U32(2).U32(7).U32(7)
      .U32(0)
      .bytes();
}

std::vector<std::uint8_t> AliasMembersReply() {
  return Stub()
      .U32(2).U32(0x20000).U32(2).U32(0x20004).U32(0x20008)  // Count, Sids, conformance
      .DomainSid()
      .U32(5).Raw({1, 5, 0, 0, 0, 0, 0, 5}).U32(21).U32(1).U32(2).U32(3).U32(500)
      .U32(0)
      .bytes();
}

std::vector<std::uint8_t> DomainPasswordReply() {
  return Stub()
      .U32(0x20000).U16(1).Align(8)             // Buffer, the union aligned to 8
      .U16(7).U16(24).U32(1)                    // lengths, DOMAIN_PASSWORD_COMPLEX
      .U32(0).U32(0x80000000)                   // MaxPasswordAge: never
      .U32(0xD5964000).U32(0xFFFFFF36)          // MinPasswordAge: one day
      .U32(0)
      .bytes();
}

std::vector<std::uint8_t> DomainLogoffReply() {
  return Stub().U32(0x20000).U16(3).Align(8).U32(0).U32(0x80000000).U32(0).bytes();
}

std::vector<std::uint8_t> DomainLockoutReply() {
  return Stub()
      .U32(0x20000).U16(12).Align(8)
      .U32(0xCF1DCC00).U32(0xFFFFFFFB)          // LockoutDuration: 30 minutes
      .U32(0xCF1DCC00).U32(0xFFFFFFFB)          // LockoutObservationWindow
      .U16(5)
      .U32(0)
      .bytes();
}

std::vector<std::uint8_t> AccountsWithRightReply() {
  return Stub()
      .U32(1).U32(0x20000).U32(1).U32(0x20004)  // EntriesRead, Information, conformance, Sid
      .U32(2).Raw({1, 2, 0, 0, 0, 0, 0, 5}).U32(32).U32(544)
      .U32(0)
      .bytes();
}

std::vector<std::uint8_t> PrivilegeDisplayNameReply() {
  return Stub()
      .U32(0x20000).U16(14).U16(16).U32(0x20004)
      .Counted(u"Back up")
      .U16(0x409).U32(0)
      .bytes();
}

std::vector<std::uint8_t> AuditEventsReply() {
  Stub s;
  s.U32(0x20000).U16(2).Align(8).Raw({1}).Align(4);  // AuditingMode
  s.U32(0x20004).U32(9).U32(9);                 // options, MaximumAuditEventCount, conformance
  for (std::uint32_t option : {0u, 2u, 0u, 0u, 0u, 1u, 3u, 0u, 0u}) s.U32(option);
  return s.U32(0).bytes();
}

std::vector<std::uint8_t> AccountDomainReply() {
  return Stub()
      .U32(0x20000).U16(5).Align(8)             // PolicyAccountDomainInformation
      .U16(8).U16(10).U32(0x20004).U32(0x20008)
      .Counted(u"CORP").DomainSid()
      .U32(0)
      .bytes();
}
// clang-format on

}  // namespace tabulon::platform::remote::testing
