#include "platform/remote/lsarpc_codec.h"

#include "platform/remote/codec_support.h"

namespace tabulon::platform::remote::lsarpc {
namespace {

using ndr::NdrReader;
using ndr::NdrWriter;

// LSA_CLIENT_REVISION_2: the client understands the newer lookup answers.
constexpr std::uint32_t kClientRevision2 = 2;
// LSAPR_OBJECT_ATTRIBUTES as a 32-bit client sizes it; servers ignore it.
constexpr std::uint32_t kObjectAttributesLength = 24;

SidNameUse ReadUse(NdrReader& r) {
  return UseOf(r, r.U16());
}

// [out] PLSAPR_REFERENCED_DOMAIN_LIST*: a unique pointer to the entry count,
// the pointer to the entries (name and SID pointer each) and MaxEntries.
void ReadReferencedDomains(NdrReader& r, std::vector<ReferencedDomain>& domains) {
  r.Pointer([&r, &domains] {
    const std::uint32_t entries = r.U32();
    r.Pointer([&r, &domains, entries] {
      const std::uint32_t count = r.ArrayCount(12, sizeof(ReferencedDomain));
      if (count != entries) r.Fail();
      if (!r.ok()) return;
      domains.resize(count);
      for (ReferencedDomain& d : domains) {
        r.UnicodeString(d.name);
        r.Pointer([&r, &d] { ReadSid(r, d.sid); });
      }
    });
    r.U32();  // MaxEntries
  });
}

// The [in, out] translation structure: the entry count and a pointer to the
// entries, each `wire_size` bytes, read by `read_entry`.
template <class Entry, class ReadEntry>
void ReadTranslated(NdrReader& r, std::vector<Entry>& entries, std::size_t wire_size,
                    ReadEntry read_entry) {
  r.Construct([&] {
    const std::uint32_t count_read = r.U32();
    r.Pointer([&r, &entries, wire_size, read_entry, count_read] {
      const std::uint32_t count = r.ArrayCount(wire_size, sizeof(Entry));
      if (count != count_read) r.Fail();
      if (!r.ok()) return;
      entries.resize(count);
      for (Entry& e : entries) read_entry(e);
    });
  });
}

}  // namespace

std::vector<std::uint8_t> EncodeOpenPolicy2(std::string_view system, std::uint32_t access) {
  NdrWriter w;
  w.UniqueWideString(OptionalText(system));
  // LSAPR_OBJECT_ATTRIBUTES: root directory, object name, attributes,
  // security descriptor and quality of service all empty.
  w.U32(kObjectAttributesLength);
  w.Pointer(false, {});
  w.Pointer(false, {});
  w.U32(0);
  w.Pointer(false, {});
  w.Pointer(false, {});
  w.U32(access);
  return w.Take();
}

std::vector<std::uint8_t> EncodeClose(const ndr::ContextHandle& policy) {
  return EncodeHandleOnly(policy);
}

std::vector<std::uint8_t> EncodeLookupSids(const ndr::ContextHandle& policy,
                                           std::span<const Sid> sids, std::uint16_t level) {
  NdrWriter w;
  w.Handle(policy);
  // LSAPR_SID_ENUM_BUFFER: the count and a pointer to an array of SID
  // pointers.
  const auto count = static_cast<std::uint32_t>(sids.size());
  w.Construct([&] {
    w.U32(count);
    w.Pointer(count != 0, [&w, sids, count] {
      w.U32(count);
      for (const Sid& sid : sids) w.Pointer(true, [&w, &sid] { WriteSid(w, sid); });
    });
  });
  // LSAPR_TRANSLATED_NAMES going in: empty.
  w.U32(0);
  w.Pointer(false, {});
  w.U16(level);
  w.U32(0);  // MappedCount
  return w.Take();
}

LookupSidsReply DecodeLookupSids(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  LookupSidsReply reply;
  ReadReferencedDomains(r, reply.domains);
  // LSAPR_TRANSLATED_NAME: use, name, domain index.
  ReadTranslated(r, reply.names, 16, [&r](TranslatedName& n) {
    n.use = ReadUse(r);
    r.UnicodeString(n.name);
    n.domain_index = static_cast<std::int32_t>(r.U32());
  });
  r.U32();  // MappedCount
  reply.status = ReadLookupStatus(r);
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeLookupNames3(const ndr::ContextHandle& policy,
                                             std::span<const std::string> names,
                                             std::uint16_t level) {
  NdrWriter w;
  w.Handle(policy);
  w.U32(static_cast<std::uint32_t>(names.size()));
  WriteUnicodeStrings(w, names);
  // LSAPR_TRANSLATED_SIDS_EX2 going in: empty.
  w.U32(0);
  w.Pointer(false, {});
  w.U16(level);
  w.U32(0);  // MappedCount
  w.U32(0);  // LookupOptions
  w.U32(kClientRevision2);
  return w.Take();
}

LookupNamesReply DecodeLookupNames3(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  LookupNamesReply reply;
  ReadReferencedDomains(r, reply.domains);
  // LSAPR_TRANSLATED_SID_EX2: use, SID pointer, domain index, flags.
  ReadTranslated(r, reply.sids, 16, [&r](TranslatedSid& s) {
    s.use = ReadUse(r);
    s.has_sid = r.Pointer([&r, &s] { ReadSid(r, s.sid); });
    s.domain_index = static_cast<std::int32_t>(r.U32());
    r.U32();  // Flags
  });
  r.U32();  // MappedCount
  reply.status = ReadLookupStatus(r);
  return Finish(r, std::move(reply));
}

}  // namespace tabulon::platform::remote::lsarpc
