#pragma once
// Response stubs built by hand, field by field, the way a server marshals
// them: the decode tests check what they decode to and the robustness test
// mangles them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tabulon::platform::remote::testing {

// Appends NDR fields with their alignment, independently of NdrWriter.
class Stub {
 public:
  Stub& Align(std::size_t n) {
    while (bytes_.size() % n != 0) bytes_.push_back(0);
    return *this;
  }
  Stub& U16(std::uint16_t v) { return Align(2).Put(v, 2); }
  Stub& U32(std::uint32_t v) { return Align(4).Put(v, 4); }
  Stub& Raw(const std::vector<std::uint8_t>& b) {
    bytes_.insert(bytes_.end(), b.begin(), b.end());
    return *this;
  }
  // UTF-16 units and a NUL, no counts (strings inside a flat buffer).
  Stub& Units(const std::u16string& s) {
    for (const char16_t u : s) U16(u);
    return U16(0);
  }
  // A conformant-varying [string] referent: counts include the NUL.
  Stub& WString(const std::u16string& s) {
    const auto count = static_cast<std::uint32_t>(s.size() + 1);
    return U32(count).U32(0).U32(count).Units(s);
  }
  // The characters of an RPC_UNICODE_STRING: counts without a NUL.
  Stub& Counted(const std::u16string& s) {
    const auto count = static_cast<std::uint32_t>(s.size());
    U32(count).U32(0).U32(count);
    for (const char16_t u : s) U16(u);
    return *this;
  }
  // RPC_SID S-1-5-21-1-2-3 as a referent: conformance, then the fields.
  Stub& DomainSid() { return U32(4).Raw({1, 4, 0, 0, 0, 0, 0, 5}).U32(21).U32(1).U32(2).U32(3); }
  std::vector<std::uint8_t> bytes() const { return bytes_; }

 private:
  Stub& Put(std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
  }
  std::vector<std::uint8_t> bytes_;
};

std::vector<std::uint8_t> ServerInfo101Reply();
std::vector<std::uint8_t> ShareEnum502Reply();  // two shares, ERROR_MORE_DATA
std::vector<std::uint8_t> ShareEnum1EmptyReply();
std::vector<std::uint8_t> ShareGetInfo0Reply();
std::vector<std::uint8_t> ConnectionEnum1Reply();
std::vector<std::uint8_t> SessionEnum502Reply();
std::vector<std::uint8_t> FileEnum3Reply();
std::vector<std::uint8_t> DiskEnum0Reply();
std::vector<std::uint8_t> TransportEnum0Reply();
std::vector<std::uint8_t> OpenReply();
std::vector<std::uint8_t> EnumServicesMoreDataReply();
std::vector<std::uint8_t> ServiceConfigReply();
std::vector<std::uint8_t> ServiceConfigTooSmallReply();
std::vector<std::uint8_t> CloseReply();
std::vector<std::uint8_t> LookupSidsReply();    // alice in CORP
std::vector<std::uint8_t> LookupNames3Reply();  // CORP\\alice, RID 1105
std::vector<std::uint8_t> EnumerateDomainsReply();
std::vector<std::uint8_t> LookupDomainReply();
std::vector<std::uint8_t> DisplayMachinesReply();  // two machines, STATUS_MORE_ENTRIES
std::vector<std::uint8_t> DisplayUsersReply();     // alice, RID 1105
std::vector<std::uint8_t> LookupIdsReply();        // alice, and one unknown
std::vector<std::uint8_t> UserAllReply();          // alice, every hour allowed
std::vector<std::uint8_t> GroupsForUserReply();
std::vector<std::uint8_t> AliasMembershipReply();
std::vector<std::uint8_t> GroupGeneralReply();
std::vector<std::uint8_t> AliasGeneralReply();
std::vector<std::uint8_t> GroupMembersReply();
std::vector<std::uint8_t> AliasMembersReply();
std::vector<std::uint8_t> DomainPasswordReply();
std::vector<std::uint8_t> DomainLogoffReply();
std::vector<std::uint8_t> DomainLockoutReply();
std::vector<std::uint8_t> AccountsWithRightReply();  // Administrators
std::vector<std::uint8_t> PrivilegeDisplayNameReply();
std::vector<std::uint8_t> AuditEventsReply();
std::vector<std::uint8_t> AccountDomainReply();  // CORP
std::vector<std::uint8_t> GetDcNameReply();
std::vector<std::uint8_t> GetDcNameEx2Reply();

}  // namespace tabulon::platform::remote::testing
