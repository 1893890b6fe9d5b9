#include "platform/remote/wkssvc_codec.h"

#include "platform/remote/codec_support.h"

namespace tabulon::platform::remote::wkssvc {

std::vector<std::uint8_t> EncodeWkstaTransportEnum(std::string_view server, std::uint32_t level,
                                                   std::uint32_t preferred_max_length,
                                                   std::uint32_t resume_handle) {
  ndr::NdrWriter w;
  w.UniqueWideString(OptionalText(server));
  WriteEmptyEnumStruct(w, level);
  w.U32(preferred_max_length);
  w.UniqueU32(resume_handle);
  return w.Take();
}

WkstaTransportEnumResult DecodeWkstaTransportEnum0(std::span<const std::uint8_t> stub) {
  ndr::NdrReader r(stub);
  WkstaTransportEnumResult result;
  // WKSTA_TRANSPORT_INFO_0: quality of service, virtual circuits, name,
  // address, the WAN flag.
  ReadEnumStruct<WkstaTransportInfo0>(r, 0, result.entries, 20, [&r](WkstaTransportInfo0& e) {
    e.quality_of_service = r.U32();
    e.number_of_vcs = r.U32();
    r.UniqueWideString(e.transport_name);
    r.UniqueWideString(e.transport_address);
    e.wan_ish = r.U32();
  });
  result.total_entries = r.U32();
  r.UniqueU32(result.resume_handle);
  result.status = r.U32();
  // A complete listing has nowhere to resume, whatever the server left.
  if (result.status != win::ERROR_MORE_DATA) result.resume_handle = 0;
  return Finish(r, std::move(result));
}

}  // namespace tabulon::platform::remote::wkssvc
