#pragma once
// Domain controllers over the logon service interface: NetGetDCName through
// its old name lookup and DsGetDcName through the locator, with "no
// controller" answers given the status each Windows function reports.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/directory.h"
#include "platform/directory_search.h"
#include "platform/netapi.h"
#include "platform/remote/rpc_transport.h"

namespace tabulon::platform::remote {

// NetGetDCName on `host`, which answers for `domain` (empty: its own);
// `server` is the name sent, "\\" and the host when empty. A domain without
// a controller is NERR_DCNotFound.
DcNameResult GetDcName(RpcTransport& transport, std::string_view host, std::string_view server,
                       std::string_view domain);

// DsGetDcName has no server argument. A directory domain (a DNS name) is
// asked of its directory first, as a Windows client locates a controller
// (DNS, then an LDAP ping, no logon); otherwise, or when that finds none,
// the call goes to the host of the domain's own name (a directory domain's
// DNS name resolves to its controllers), or to the session's computer for
// an empty domain. A domain without a controller is ERROR_NO_SUCH_DOMAIN.
class RemoteDirectoryService final : public DirectoryService {
 public:
  RemoteDirectoryService(RpcTransport& transport, std::string_view session_host,
                         DirectorySearch& directory)
      : transport_(transport), session_host_(session_host), directory_(directory) {}
  DcInfoResult DsGetDcName(std::string_view domain, std::uint32_t flags) override;

 private:
  RpcTransport& transport_;
  const std::string session_host_;
  DirectorySearch& directory_;
};

}  // namespace tabulon::platform::remote
