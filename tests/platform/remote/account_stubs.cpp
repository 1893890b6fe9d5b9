#include "platform/remote/sample_stubs.h"

namespace tabulon::platform::remote::testing {
namespace {

// [out] PLSAPR_REFERENCED_DOMAIN_LIST* with one domain, CORP (S-1-5-21-1-2-3).
Stub& CorpDomainList(Stub& s) {
  return s
      .U32(0x20000)  // domain list pointer
      .U32(1)
      .U32(0x20004)
      .U32(32)  // Entries, Domains, MaxEntries
      .U32(1)   // conformance
      .U16(8)
      .U16(10)
      .U32(0x20008)
      .U32(0x2000c)  // Name, Sid
      .Counted(u"CORP")
      .DomainSid();
}

}  // namespace

// clang-format off
std::vector<std::uint8_t> LookupSidsReply() {
  Stub s;
  return CorpDomainList(s)
      .U32(1).U32(0x20010).U32(1)               // Entries, Names, conformance
      .U16(1).Align(4)                          // SidTypeUser
      .U16(10).U16(10).U32(0x20014).U32(0)      // Name, DomainIndex 0
      .Counted(u"alice")
      .U32(1).U32(0)                            // MappedCount, STATUS_SUCCESS
      .bytes();
}

std::vector<std::uint8_t> LookupNames3Reply() {
  Stub s;
  return CorpDomainList(s)
      .U32(1).U32(0x20010).U32(1)               // Entries, Sids, conformance
      .U16(1).Align(4).U32(0x20014).U32(0).U32(0)  // use, Sid, DomainIndex, Flags
      .U32(5).Raw({1, 5, 0, 0, 0, 0, 0, 5}).U32(21).U32(1).U32(2).U32(3).U32(1105)
      .U32(1).U32(0)
      .bytes();
}

std::vector<std::uint8_t> EnumerateDomainsReply() {
  return Stub()
      .U32(2).U32(0x20000)                      // context, Buffer
      .U32(2).U32(0x20004).U32(2)               // EntriesRead, Buffer, conformance
      .U32(0).U16(22).U16(22).U32(0x20008)
      .U32(0).U16(14).U16(14).U32(0x2000c)
      .Counted(u"TABULONTEST").Counted(u"Builtin")
      .U32(2).U32(0)                            // CountReturned, STATUS_SUCCESS
      .bytes();
}

std::vector<std::uint8_t> LookupDomainReply() {
  return Stub().U32(0x20000).DomainSid().U32(0).bytes();
}

std::vector<std::uint8_t> DisplayMachinesReply() {
  return Stub()
      .U32(200).U32(120)                        // TotalAvailable, TotalReturned
      .U16(2).Align(4)                          // DomainDisplayMachine
      .U32(2).U32(0x20000).U32(2)               // EntriesRead, Buffer, conformance
      .U32(1).U32(1000).U32(0x80)               // index, RID, workstation trust
      .U16(10).U16(10).U32(0x20004).U16(0).U16(0).U32(0)
      .U32(2).U32(1001).U32(0x101)              // server trust, disabled
      .U16(10).U16(10).U32(0x20008).U16(4).U16(4).U32(0x2000c)
      .Counted(u"WS01$").Counted(u"DC02$").Counted(u"Dc")
      .U32(0x105)                               // STATUS_MORE_ENTRIES
      .bytes();
}

std::vector<std::uint8_t> GetDcNameReply() {
  return Stub().U32(0x20000).WString(u"\\\\DC01").U32(0).bytes();
}

std::vector<std::uint8_t> GetDcNameEx2Reply() {
  return Stub()
      .U32(0x20000)                             // DOMAIN_CONTROLLER_INFOW
      .U32(0x20004).U32(0x20008).U32(1)         // name, address, DS_INET_ADDRESS
      .U32(0x11223344).U16(0x5566).U16(0x7788).Raw({1, 2, 3, 4, 5, 6, 7, 8})
      .U32(0x2000c).U32(0x20010).U32(0xE00003FD)  // domain, forest, flags
      .U32(0x20014).U32(0)                      // controller's site, no client site
      .WString(u"\\\\DC01").WString(u"\\\\192.0.2.1").WString(u"CORP")
      .WString(u"corp.example").WString(u"Default-First-Site-Name")
      .U32(0)
      .bytes();
}
// clang-format on

}  // namespace tabulon::platform::remote::testing
