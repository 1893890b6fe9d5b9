#include "platform/remote/samr_codec.h"

#include "platform/remote/codec_support.h"

namespace tabulon::platform::remote::samr {
namespace {

using ndr::NdrReader;
using ndr::NdrWriter;

struct FlagPair {
  std::uint32_t account_control;  // USER_ACCOUNT_*
  std::uint32_t flags;            // UF_*
};

constexpr FlagPair kAccountFlags[] = {
    {0x00000001, 0x00000002},  // disabled
    {0x00000002, 0x00000008},  // home directory required
    {0x00000004, 0x00000020},  // password not required
    {0x00000008, 0x00000100},  // temporary duplicate account
    {0x00000010, 0x00000200},  // normal account
    {0x00000020, 0x00020000},  // MNS logon account
    {0x00000040, 0x00000800},  // interdomain trust account
    {0x00000080, 0x00001000},  // workstation trust account
    {0x00000100, 0x00002000},  // server trust account
    {0x00000200, 0x00010000},  // password does not expire
    {0x00000400, 0x00000010},  // locked out
    {0x00000800, 0x00000080},  // encrypted text password allowed
    {0x00001000, 0x00040000},  // smart card required
    {0x00002000, 0x00080000},  // trusted for delegation
    {0x00004000, 0x00100000},  // not delegated
    {0x00008000, 0x00200000},  // DES keys only
    {0x00010000, 0x00400000},  // no Kerberos preauthentication
    {0x00020000, 0x00800000},  // password expired
    {0x00040000, 0x01000000},  // trusted to authenticate for delegation
    {0x00080000, 0x02000000},  // no authorization data
    {0x00100000, 0x04000000},  // partial secrets account
    {0x00200000, 0x08000000},  // AES keys
};

// The network management calls always report UF_SCRIPT.
constexpr std::uint32_t kUfScript = 0x00000001;

// SAMPR_DOMAIN_DISPLAY_MACHINE: index, RID, account control, account name,
// comment.
constexpr std::size_t kDisplayMachineWireSize = 28;
// SAMPR_RID_ENUMERATION: RID and name.
constexpr std::size_t kRidNameWireSize = 12;

}  // namespace

std::uint32_t AccountFlagsOf(std::uint32_t account_control) {
  std::uint32_t flags = kUfScript;
  for (const FlagPair& pair : kAccountFlags) {
    if ((account_control & pair.account_control) != 0) flags |= pair.flags;
  }
  return flags;
}

std::vector<std::uint8_t> EncodeConnect2(std::string_view server, std::uint32_t access) {
  NdrWriter w;
  w.UniqueWideString(OptionalText(server));
  w.U32(access);
  return w.Take();
}

std::vector<std::uint8_t> EncodeCloseHandle(const ndr::ContextHandle& handle) {
  return EncodeHandleOnly(handle);
}

std::vector<std::uint8_t> EncodeEnumerateDomains(const ndr::ContextHandle& server,
                                                 std::uint32_t enumeration_context,
                                                 std::uint32_t preferred_max_length) {
  NdrWriter w;
  w.Handle(server);
  w.U32(enumeration_context);
  w.U32(preferred_max_length);
  return w.Take();
}

EnumerateDomainsReply DecodeEnumerateDomains(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  EnumerateDomainsReply reply;
  reply.enumeration_context = r.U32();
  // PSAMPR_ENUMERATION_BUFFER: the count and a pointer to the entries.
  r.Pointer([&r, &reply] {
    const std::uint32_t entries_read = r.U32();
    r.Pointer([&r, &reply, entries_read] {
      const std::uint32_t count = r.ArrayCount(kRidNameWireSize, sizeof(RidName));
      if (count != entries_read) r.Fail();
      if (!r.ok()) return;
      reply.domains.resize(count);
      for (RidName& entry : reply.domains) {
        entry.rid = r.U32();
        r.UnicodeString(entry.name);
      }
    });
  });
  if (r.U32() != reply.domains.size()) r.Fail();  // CountReturned
  reply.status = ReadNtStatus(r);
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeLookupDomain(const ndr::ContextHandle& server,
                                             std::string_view name) {
  NdrWriter w;
  w.Handle(server);
  w.Construct([&] { w.UnicodeString(name); });
  return w.Take();
}

LookupDomainReply DecodeLookupDomain(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  LookupDomainReply reply;
  const bool present = r.Pointer([&r, &reply] { ReadSid(r, reply.domain); });
  reply.status = ReadNtStatus(r);
  if (reply.status == win::ERROR_SUCCESS && !present) r.Fail();
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeOpenDomain(const ndr::ContextHandle& server, std::uint32_t access,
                                           const Sid& domain) {
  NdrWriter w;
  w.Handle(server);
  w.U32(access);
  WriteSid(w, domain);
  return w.Take();
}

std::vector<std::uint8_t> EncodeQueryDisplayInformation3(const ndr::ContextHandle& domain,
                                                         DisplayClass display_class,
                                                         std::uint32_t index,
                                                         std::uint32_t entry_count,
                                                         std::uint32_t preferred_max_length) {
  NdrWriter w;
  w.Handle(domain);
  w.U16(static_cast<std::uint16_t>(display_class));
  w.U32(index);
  w.U32(entry_count);
  w.U32(preferred_max_length);
  return w.Take();
}

DisplayMachinesResult DecodeQueryDisplayMachines(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  DisplayMachinesResult result;
  r.U32();  // TotalAvailable
  r.U32();  // TotalReturned
  // The union's discriminant is the display class.
  if (r.U16() != static_cast<std::uint16_t>(DisplayClass::kMachine)) r.Fail();
  r.Construct([&] {
    const std::uint32_t entries_read = r.U32();
    r.Pointer([&r, &result, entries_read] {
      const std::uint32_t count = r.ArrayCount(kDisplayMachineWireSize, sizeof(DisplayMachine));
      if (count != entries_read) r.Fail();
      if (!r.ok()) return;
      result.entries.resize(count);
      for (DisplayMachine& m : result.entries) {
        m.next_index = r.U32();
        m.user_id = r.U32();
        m.flags = AccountFlagsOf(r.U32());
        r.UnicodeString(m.name);
        r.UnicodeString(m.comment);
      }
    });
  });
  result.status = ReadNtStatus(r);
  return Finish(r, std::move(result));
}

}  // namespace tabulon::platform::remote::samr
