#include "platform/remote/samr_domain_handles.h"

#include "platform/remote/handle_closer.h"
#include "platform/remote/remote_call.h"
#include "platform/remote/samr_codec.h"
#include "platform/text.h"

namespace tabulon::platform::remote {
namespace {

constexpr std::uint32_t kWholeList = 0xFFFFFFFF;

// What the account families read: lists, names, policies and memberships.
constexpr std::uint32_t kDomainAccess =
    samr::kDomainReadPasswordParameters | samr::kDomainReadOtherParameters |
    samr::kDomainGetAliasMembership | samr::kDomainListAccounts | samr::kDomainLookup;

HandleStatusReply Opened(RpcTransport& transport, const std::string& host, std::uint16_t opnum,
                         const std::vector<std::uint8_t>& request) {
  HandleStatusReply opened = CallAndDecode<HandleStatusReply>(
      transport, host, samr::kInterface, opnum, request, DecodeHandleStatusReply);
  if (opened.status == win::ERROR_SUCCESS && opened.handle.IsNull()) {
    opened.status = win::RPC_X_BAD_STUB_DATA;
  }
  return opened;
}

}  // namespace

SamrDomainHandles::~SamrDomainHandles() {
  // Domains before their connections.
  HandleCloser closer(transport_);
  const auto close = [&](const std::string& host, const ndr::ContextHandle& handle) {
    closer.Close(host, samr::kInterface, samr::kSamrCloseHandle, samr::EncodeCloseHandle(handle));
  };
  for (const auto& [key, domain] : domains_) close(key.first, domain.handle);
  for (const auto& [host, handle] : connections_) close(host, handle);
}

void SamrDomainHandles::Forget(const std::string& host) {
  connections_.erase(host);
  std::erase_if(domains_, [&](const auto& entry) { return entry.first.first == host; });
}

win::Status SamrDomainHandles::Connect(const std::string& host) {
  if (connections_.contains(host)) return win::ERROR_SUCCESS;
  const HandleStatusReply opened =
      Opened(transport_, host, samr::kSamrConnect2,
             samr::EncodeConnect2("\\\\" + host, samr::kSamServerConnect |
                                                     samr::kSamServerEnumerateDomains |
                                                     samr::kSamServerLookupDomain));
  if (opened.status == win::ERROR_SUCCESS) connections_.emplace(host, opened.handle);
  return opened.status;
}

OpenSamDomain SamrDomainHandles::Open(const std::string& host, SamDomain which) {
  const auto key = std::make_pair(host, which);
  if (const auto it = domains_.find(key); it != domains_.end()) return it->second;
  OpenSamDomain domain;
  domain.status = Connect(host);
  if (domain.status != win::ERROR_SUCCESS) return domain;
  const ndr::ContextHandle& connection = connections_.at(host);

  // The built-in domain goes by its fixed name; the account domain is the
  // other one the server lists.
  std::string name(samr::kBuiltinDomainName);
  if (which == SamDomain::kAccount) {
    const RidEnumerationReply listed = CallAndDecode<RidEnumerationReply>(
        transport_, host, samr::kInterface, samr::kSamrEnumerateDomainsInSamServer,
        samr::EncodeEnumerateDomains(connection, 0, kWholeList), DecodeRidEnumeration);
    if (listed.status != win::ERROR_SUCCESS) return Failed<OpenSamDomain>(listed.status);
    name.clear();
    for (const RidName& entry : listed.entries) {
      if (!text::EqualsNoCase(entry.name, samr::kBuiltinDomainName)) {
        name = entry.name;
        break;
      }
    }
    if (name.empty()) return Failed<OpenSamDomain>(win::ERROR_NO_SUCH_DOMAIN);
  }
  const samr::LookupDomainReply sid = CallAndDecode<samr::LookupDomainReply>(
      transport_, host, samr::kInterface, samr::kSamrLookupDomainInSamServer,
      samr::EncodeLookupDomain(connection, name), samr::DecodeLookupDomain);
  if (sid.status != win::ERROR_SUCCESS) return Failed<OpenSamDomain>(sid.status);

  const HandleStatusReply opened =
      Opened(transport_, host, samr::kSamrOpenDomain,
             samr::EncodeOpenDomain(connection, kDomainAccess, sid.domain));
  if (opened.status != win::ERROR_SUCCESS) return Failed<OpenSamDomain>(opened.status);
  domain.handle = opened.handle;
  domain.sid = sid.domain;
  domains_.emplace(key, domain);
  return domain;
}

}  // namespace tabulon::platform::remote
