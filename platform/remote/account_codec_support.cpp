#include "platform/remote/account_codec_support.h"

#include "platform/remote/codec_support.h"
#include "platform/remote/status_mapping.h"

namespace tabulon::platform::remote {
namespace {

constexpr std::uint8_t kMaxSubAuthorities = 15;

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

win::Status ReadNtStatus(ndr::NdrReader& reader) {
  return StatusFromNtStatus(reader.U32());
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

void WriteUnicodeStrings(ndr::NdrWriter& writer, std::span<const std::string> texts) {
  writer.Construct([&writer, texts] {
    writer.U32(static_cast<std::uint32_t>(texts.size()));
    for (const std::string& text : texts) writer.UnicodeString(text);
  });
}

}  // namespace tabulon::platform::remote
