#include "platform/remote/account_codec_support.h"

#include <utility>

#include "platform/remote/codec_support.h"
#include "platform/remote/status_mapping.h"

namespace tabulon::platform::remote {
namespace {

constexpr std::uint8_t kMaxSubAuthorities = 15;
constexpr std::uint32_t kStatusSomeNotMapped = 0x00000107;
// SAMPR_RID_ENUMERATION: RID and name.
constexpr std::size_t kRidNameWireSize = 12;
// An embedded pointer.
constexpr std::size_t kPointerWireSize = 4;
// RPC_UNICODE_STRING: the two lengths and the pointer.
constexpr std::size_t kUnicodeStringWireSize = 8;

}  // namespace

std::vector<std::uint8_t> EncodeHandleOnly(const ndr::ContextHandle& handle) {
  ndr::NdrWriter w;
  w.Handle(handle);
  return w.Take();
}

HandleStatusReply DecodeHandleStatusReply(std::span<const std::uint8_t> stub) {
  ndr::NdrReader r(stub);
  HandleStatusReply reply;
  reply.handle = r.Handle();
  reply.status = ReadNtStatus(r);
  return Finish(r, reply);
}

std::vector<std::uint8_t> EncodeOpenByRid(const ndr::ContextHandle& domain, std::uint32_t access,
                                          std::uint32_t rid) {
  ndr::NdrWriter w;
  w.Handle(domain);
  w.U32(access);
  w.U32(rid);
  return w.Take();
}

std::vector<std::uint8_t> EncodeInformationQuery(const ndr::ContextHandle& handle,
                                                 std::uint16_t information_class) {
  ndr::NdrWriter w;
  w.Handle(handle);
  w.U16(information_class);
  return w.Take();
}

RidEnumerationReply DecodeRidEnumeration(std::span<const std::uint8_t> stub) {
  ndr::NdrReader r(stub);
  RidEnumerationReply reply;
  reply.enumeration_context = r.U32();
  r.Pointer([&r, &reply] {
    ReadCountedArray(r, reply.entries, kRidNameWireSize, [&r, &reply] {
      for (RidName& entry : reply.entries) {
        entry.rid = r.U32();
        r.UnicodeString(entry.name);
      }
    });
  });
  if (r.U32() != reply.entries.size()) r.Fail();  // CountReturned
  reply.status = ReadNtStatus(r);
  return Finish(r, std::move(reply));
}

bool ReadInformationUnion(ndr::NdrReader& reader, std::uint16_t information_class,
                          std::size_t union_alignment, std::function<void()> read_arm) {
  return reader.Pointer(
      [&reader, information_class, union_alignment, read_arm = std::move(read_arm)] {
        if (reader.U16() != information_class) reader.Fail();
        reader.Align(union_alignment);
        read_arm();
      });
}

std::int64_t ReadOldLargeInteger(ndr::NdrReader& reader) {
  const std::uint64_t low = reader.U32();
  const std::uint64_t high = reader.U32();
  return static_cast<std::int64_t>((high << 32) | low);
}

std::int64_t ReadLargeInteger(ndr::NdrReader& reader) {
  return static_cast<std::int64_t>(reader.U64());
}

win::Status ReadNtStatus(ndr::NdrReader& reader) {
  return StatusFromNtStatus(reader.U32());
}

win::Status ReadLookupStatus(ndr::NdrReader& reader) {
  const std::uint32_t ntstatus = reader.U32();
  return ntstatus == kStatusSomeNotMapped ? win::ERROR_SUCCESS : StatusFromNtStatus(ntstatus);
}

SidNameUse UseOf(ndr::NdrReader& reader, std::uint32_t use) {
  if (use > static_cast<std::uint32_t>(SidNameUse::kLabel)) {
    reader.Fail();
    return SidNameUse::kNone;
  }
  return static_cast<SidNameUse>(use);
}

void WriteSid(ndr::NdrWriter& writer, const Sid& sid) {
  const auto count = static_cast<std::uint8_t>(sid.sub_authorities.size());
  writer.U32(count);
  writer.U8(sid.revision);
  writer.U8(count);
  for (int shift = 40; shift >= 0; shift -= 8) {
    writer.U8(static_cast<std::uint8_t>(sid.authority >> shift));
  }
  for (const std::uint32_t sub : sid.sub_authorities) writer.U32(sub);
}

void ReadSid(ndr::NdrReader& reader, Sid& sid) {
  const std::uint32_t conformance = reader.U32();
  sid.revision = reader.U8();
  const std::uint8_t count = reader.U8();
  sid.authority = 0;
  for (int i = 0; i < 6; ++i) sid.authority = (sid.authority << 8) | reader.U8();
  if (conformance != count || count > kMaxSubAuthorities) reader.Fail();
  if (!reader.Reserve(count, 4, 4)) return;
  sid.sub_authorities.resize(count);
  for (std::uint32_t& sub : sid.sub_authorities) sub = reader.U32();
}

void WriteSidArray(ndr::NdrWriter& writer, std::span<const Sid> sids) {
  const auto count = static_cast<std::uint32_t>(sids.size());
  writer.Construct([&writer, sids, count] {
    writer.U32(count);
    writer.Pointer(count != 0, [&writer, sids, count] {
      writer.U32(count);
      for (const Sid& sid : sids) writer.Pointer(true, [&writer, &sid] { WriteSid(writer, sid); });
    });
  });
}

void ReadSidArray(ndr::NdrReader& reader, std::vector<Sid>& sids) {
  ReadCountedArray(reader, sids, kPointerWireSize, [&reader, &sids] {
    for (Sid& sid : sids) {
      if (!reader.Pointer([&reader, &sid] { ReadSid(reader, sid); })) reader.Fail();
    }
  });
}

void ReadUlongArray(ndr::NdrReader& reader, std::vector<std::uint32_t>& values) {
  ReadCountedArray(reader, values, 4, [&reader, &values] {
    for (std::uint32_t& value : values) value = reader.U32();
  });
}

void ReadUnicodeStrings(ndr::NdrReader& reader, std::vector<std::string>& texts) {
  ReadCountedArray(reader, texts, kUnicodeStringWireSize, [&reader, &texts] {
    for (std::string& text : texts) reader.UnicodeString(text);
  });
}

void WriteUnicodeStrings(ndr::NdrWriter& writer, std::span<const std::string> texts) {
  writer.Construct([&writer, texts] {
    writer.U32(static_cast<std::uint32_t>(texts.size()));
    for (const std::string& text : texts) writer.UnicodeString(text);
  });
}

}  // namespace tabulon::platform::remote
