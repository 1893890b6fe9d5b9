#include "platform/remote/samr_names_codec.h"

#include <algorithm>
#include <utility>

#include "platform/remote/codec_support.h"
#include "platform/remote/samr_codec.h"

namespace tabulon::platform::remote::samr {

std::vector<std::uint8_t> EncodeLookupNames(const ndr::ContextHandle& domain,
                                            std::span<const std::string> names) {
  names = names.first(std::min(names.size(), kMaxLookupIds));
  const auto count = static_cast<std::uint32_t>(names.size());
  ndr::NdrWriter w;
  w.Handle(domain);
  w.U32(count);
  // [size_is(1000), length_is(Count)]: the maximum count is always 1000,
  // and the characters of each name follow the array.
  w.Construct([&w, names, count] {
    w.U32(static_cast<std::uint32_t>(kMaxLookupIds));
    w.U32(0);
    w.U32(count);
    for (const std::string& name : names) w.UnicodeString(name);
  });
  return w.Take();
}

LookupNamesReply DecodeLookupNames(std::span<const std::uint8_t> stub) {
  ndr::NdrReader r(stub);
  LookupNamesReply reply;
  std::vector<std::uint32_t> rids;
  std::vector<std::uint32_t> uses;
  ReadUlongArray(r, rids);
  ReadUlongArray(r, uses);
  if (rids.size() != uses.size()) r.Fail();
  reply.status = ReadLookupStatus(r);
  if (!r.ok()) return Finish(r, std::move(reply));
  reply.entries.resize(rids.size());
  for (std::size_t i = 0; i < rids.size(); ++i) {
    reply.entries[i].rid = rids[i];
    reply.entries[i].use = UseOf(r, uses[i]);
  }
  return Finish(r, std::move(reply));
}

}  // namespace tabulon::platform::remote::samr
