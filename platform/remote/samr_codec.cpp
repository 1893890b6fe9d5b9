#include "platform/remote/samr_codec.h"

#include <algorithm>
#include <utility>

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
// SAMPR_DOMAIN_DISPLAY_USER: the same with the full name after the comment.
constexpr std::size_t kDisplayUserWireSize = 36;

// The [out] display buffer: TotalAvailable, TotalReturned, the union of
// `display_class` (an entry count and a pointer to the entries), each entry
// `wire_size` bytes read by `read_entry`.
template <class Entry, class ReadEntry>
void ReadDisplayBuffer(NdrReader& r, DisplayClass display_class, std::vector<Entry>& entries,
                       std::size_t wire_size, ReadEntry read_entry) {
  r.U32();  // TotalAvailable
  r.U32();  // TotalReturned
  // The union's discriminant is the display class.
  if (r.U16() != static_cast<std::uint16_t>(display_class)) r.Fail();
  r.Construct([&] {
    const std::uint32_t entries_read = r.U32();
    r.Pointer([&r, &entries, wire_size, read_entry, entries_read] {
      const std::uint32_t count = r.ArrayCount(wire_size, sizeof(Entry));
      if (count != entries_read) r.Fail();
      if (!r.ok()) return;
      entries.resize(count);
      for (Entry& entry : entries) read_entry(entry);
    });
  });
}

std::vector<std::uint8_t> EncodeDomainEnumeration(const ndr::ContextHandle& domain,
                                                  std::uint32_t enumeration_context,
                                                  std::uint32_t preferred_max_length) {
  NdrWriter w;
  w.Handle(domain);
  w.U32(enumeration_context);
  w.U32(preferred_max_length);
  return w.Take();
}

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
  return EncodeDomainEnumeration(server, enumeration_context, preferred_max_length);
}

std::vector<std::uint8_t> EncodeEnumerateUsers(const ndr::ContextHandle& domain,
                                               std::uint32_t enumeration_context,
                                               std::uint32_t account_control,
                                               std::uint32_t preferred_max_length) {
  NdrWriter w;
  w.Handle(domain);
  w.U32(enumeration_context);
  w.U32(account_control);
  w.U32(preferred_max_length);
  return w.Take();
}

std::vector<std::uint8_t> EncodeEnumerateGroups(const ndr::ContextHandle& domain,
                                                std::uint32_t enumeration_context,
                                                std::uint32_t preferred_max_length) {
  return EncodeDomainEnumeration(domain, enumeration_context, preferred_max_length);
}

std::vector<std::uint8_t> EncodeEnumerateAliases(const ndr::ContextHandle& domain,
                                                 std::uint32_t enumeration_context,
                                                 std::uint32_t preferred_max_length) {
  return EncodeDomainEnumeration(domain, enumeration_context, preferred_max_length);
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
  ReadDisplayBuffer(r, DisplayClass::kMachine, result.entries, kDisplayMachineWireSize,
                    [&r](DisplayMachine& m) {
                      m.next_index = r.U32();
                      m.user_id = r.U32();
                      m.flags = AccountFlagsOf(r.U32());
                      r.UnicodeString(m.name);
                      r.UnicodeString(m.comment);
                    });
  result.status = ReadNtStatus(r);
  return Finish(r, std::move(result));
}

DisplayUsersReply DecodeQueryDisplayUsers(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  DisplayUsersReply reply;
  ReadDisplayBuffer(r, DisplayClass::kUser, reply.entries, kDisplayUserWireSize,
                    [&r](DisplayUser& u) {
                      u.next_index = r.U32();
                      u.user_id = r.U32();
                      u.flags = AccountFlagsOf(r.U32());
                      r.UnicodeString(u.name);
                      r.UnicodeString(u.comment);
                      r.UnicodeString(u.full_name);
                    });
  reply.status = ReadNtStatus(r);
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeLookupIds(const ndr::ContextHandle& domain,
                                          std::span<const std::uint32_t> rids) {
  rids = rids.first(std::min(rids.size(), kMaxLookupIds));
  const auto count = static_cast<std::uint32_t>(rids.size());
  NdrWriter w;
  w.Handle(domain);
  w.U32(count);
  // [size_is(1000), length_is(Count)]: the maximum count is always 1000.
  w.U32(static_cast<std::uint32_t>(kMaxLookupIds));
  w.U32(0);
  w.U32(count);
  for (const std::uint32_t rid : rids) w.U32(rid);
  return w.Take();
}

LookupIdsReply DecodeLookupIds(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  LookupIdsReply reply;
  std::vector<std::string> names;
  std::vector<std::uint32_t> uses;
  ReadUnicodeStrings(r, names);
  ReadUlongArray(r, uses);
  if (names.size() != uses.size()) r.Fail();
  reply.status = ReadLookupStatus(r);
  if (!r.ok()) return Finish(r, std::move(reply));
  reply.entries.resize(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    reply.entries[i].name = std::move(names[i]);
    reply.entries[i].use = UseOf(r, uses[i]);
  }
  return Finish(r, std::move(reply));
}

}  // namespace tabulon::platform::remote::samr
