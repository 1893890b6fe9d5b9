#include "platform/remote/samr_domain_handles.h"

#include "platform/remote/handle_closer.h"
#include "platform/remote/remote_call.h"
#include "platform/remote/remote_network.h"
#include "platform/remote/samr_codec.h"
#include "platform/text.h"

namespace tabulon::platform::remote {
namespace {

constexpr std::uint32_t kWholeList = 0xFFFFFFFF;
// S-1-5-32, the same on every computer.
constexpr std::uint64_t kNtAuthority = 5;
constexpr std::uint32_t kBuiltinDomainRid = 32;
constexpr std::uint32_t kConnectAccess =
    samr::kSamServerConnect | samr::kSamServerEnumerateDomains | samr::kSamServerLookupDomain;
// What the user, group and settings calls do with a domain handle.
constexpr std::uint32_t kDomainAccess =
    samr::kDomainReadPasswordParameters | samr::kDomainReadOtherParameters |
    samr::kDomainGetAliasMembership | samr::kDomainListAccounts | samr::kDomainLookup;

Sid BuiltinSid() {
  Sid sid;
  sid.authority = kNtAuthority;
  sid.sub_authorities = {kBuiltinDomainRid};
  return sid;
}

}  // namespace

SamrDomainHandles::~SamrDomainHandles() {
  // Domains before their connection.
  HandleCloser closer(transport_);
  for (const auto& [host, server] : servers_) {
    for (const ndr::ContextHandle* handle :
         {&server.account, &server.builtin, &server.connection}) {
      if (!handle->IsNull()) {
        closer.Close(host, samr::kInterface, samr::kSamrCloseHandle,
                     samr::EncodeCloseHandle(*handle));
      }
    }
  }
}

win::Status SamrDomainHandles::Connect(const std::string& host, std::string_view server,
                                       Server& opened) {
  const HandleStatusReply connected = CallAndDecode<HandleStatusReply>(
      transport_, host, samr::kInterface, samr::kSamrConnect2,
      samr::EncodeConnect2(server, kConnectAccess), DecodeHandleStatusReply);
  if (connected.status != win::ERROR_SUCCESS) return connected.status;
  if (connected.handle.IsNull()) return win::RPC_X_BAD_STUB_DATA;
  opened.connection = connected.handle;

  const RidEnumerationReply domains = CallAndDecode<RidEnumerationReply>(
      transport_, host, samr::kInterface, samr::kSamrEnumerateDomainsInSamServer,
      samr::EncodeEnumerateDomains(opened.connection, 0, kWholeList), DecodeRidEnumeration);
  if (domains.status != win::ERROR_SUCCESS) return domains.status;
  for (const RidName& domain : domains.entries) {
    if (!text::EqualsNoCase(domain.name, samr::kBuiltinDomainName)) {
      opened.account_name = domain.name;
      break;
    }
  }
  if (opened.account_name.empty()) return win::ERROR_NO_SUCH_DOMAIN;

  const samr::LookupDomainReply sid = CallAndDecode<samr::LookupDomainReply>(
      transport_, host, samr::kInterface, samr::kSamrLookupDomainInSamServer,
      samr::EncodeLookupDomain(opened.connection, opened.account_name), samr::DecodeLookupDomain);
  if (sid.status != win::ERROR_SUCCESS) return sid.status;
  opened.account_sid = sid.domain;
  return win::ERROR_SUCCESS;
}

win::Status SamrDomainHandles::OpenDomain(const std::string& host, const Server& connected,
                                          const Sid& sid, ndr::ContextHandle& handle) {
  const HandleStatusReply opened = CallAndDecode<HandleStatusReply>(
      transport_, host, samr::kInterface, samr::kSamrOpenDomain,
      samr::EncodeOpenDomain(connected.connection, kDomainAccess, sid), DecodeHandleStatusReply);
  if (opened.status != win::ERROR_SUCCESS) return opened.status;
  if (opened.handle.IsNull()) return win::RPC_X_BAD_STUB_DATA;
  handle = opened.handle;
  return win::ERROR_SUCCESS;
}

SamrDomain SamrDomainHandles::Open(std::string_view server, SamDomain which) {
  const bool builtin = which == SamDomain::kBuiltin;
  SamrDomain domain;
  const std::string_view named = HostOf(server);
  domain.host = named.empty() ? session_host_ : std::string(named);
  auto it = servers_.find(domain.host);
  if (it == servers_.end()) {
    Server connected;
    domain.status = Connect(domain.host, "\\\\" + domain.host, connected);
    if (domain.status != win::ERROR_SUCCESS) {
      if (!connected.connection.IsNull()) {
        transport_.Call(domain.host, samr::kInterface, samr::kSamrCloseHandle,
                        samr::EncodeCloseHandle(connected.connection));
      }
      return domain;
    }
    it = servers_.emplace(domain.host, std::move(connected)).first;
  }
  Server& opened = it->second;
  ndr::ContextHandle& handle = builtin ? opened.builtin : opened.account;
  domain.sid = builtin ? BuiltinSid() : opened.account_sid;
  domain.name = builtin ? std::string(samr::kBuiltinDomainName) : opened.account_name;
  if (handle.IsNull()) domain.status = OpenDomain(domain.host, opened, domain.sid, handle);
  domain.handle = handle;
  return domain;
}

}  // namespace tabulon::platform::remote
