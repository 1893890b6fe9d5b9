#include "platform/remote/netlogon_codec.h"

#include <string>

#include "platform/remote/codec_support.h"

namespace tabulon::platform::remote::netlogon {

std::vector<std::uint8_t> EncodeGetDcName(std::string_view server, std::string_view domain) {
  ndr::NdrWriter w;
  w.WideString(server);
  w.UniqueWideString(OptionalText(domain));
  return w.Take();
}

DcNameResult DecodeGetDcName(std::span<const std::uint8_t> stub) {
  ndr::NdrReader r(stub);
  DcNameResult result;
  r.UniqueWideString(result.dc_name);
  result.status = r.U32();
  return Finish(r, std::move(result));
}

std::vector<std::uint8_t> EncodeGetDcNameEx2(std::string_view computer, std::string_view domain,
                                             std::uint32_t flags) {
  ndr::NdrWriter w;
  w.UniqueWideString(OptionalText(computer));
  w.UniqueWideString(std::nullopt);  // AccountName
  w.U32(0);                          // AllowableAccountControlBits
  w.UniqueWideString(OptionalText(domain));
  w.Pointer(false, {});              // DomainGuid
  w.UniqueWideString(std::nullopt);  // SiteName
  w.U32(flags);
  return w.Take();
}

DcInfoResult DecodeGetDcNameEx2(std::span<const std::uint8_t> stub) {
  ndr::NdrReader r(stub);
  DcInfoResult result;
  DomainControllerInfo& info = result.info;
  // DOMAIN_CONTROLLER_INFOW: name, address, address type, domain GUID,
  // domain name, forest name, flags, controller's and client's sites.
  // The sites are read past; the strings must outlive the deferred reads.
  std::string dc_site;
  std::string client_site;
  r.Pointer([&r, &info, &dc_site, &client_site] {
    r.UniqueWideString(info.dc_name);
    r.UniqueWideString(info.dc_address);
    r.U32();
    r.U32();
    r.U16();
    r.U16();
    for (int i = 0; i < 8; ++i) r.U8();
    r.UniqueWideString(info.domain_name);
    r.UniqueWideString(info.dns_forest_name);
    r.U32();
    r.UniqueWideString(dc_site);
    r.UniqueWideString(client_site);
  });
  result.status = r.U32();
  return Finish(r, std::move(result));
}

}  // namespace tabulon::platform::remote::netlogon
