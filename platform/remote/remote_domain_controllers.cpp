#include "platform/remote/remote_domain_controllers.h"

#include <algorithm>

#include "platform/remote/netlogon_codec.h"
#include "platform/remote/remote_call.h"
#include "platform/remote/remote_network.h"

namespace tabulon::platform::remote {
namespace {

// The answers that mean no controller can be named: the logon service
// found none, or the server runs no logon service at all (its pipe is
// missing, as on a standalone server).
constexpr win::Status kNoController[] = {
    win::RPC_S_SERVER_UNAVAILABLE,
    win::RPC_S_UNKNOWN_IF,
    win::ERROR_NO_SUCH_DOMAIN,
    win::ERROR_NO_LOGON_SERVERS,
    win::ERROR_DOMAIN_CONTROLLER_NOT_FOUND,
    win::NERR_DCNotFound,
};

bool NoController(win::Status status) {
  return std::ranges::find(kNoController, status) != std::end(kNoController);
}

// Asked through the domain's own name (no server given), a name that
// reaches no server is a domain without a reachable controller, as a
// Windows client's locator reports it; a named server that cannot be
// reached keeps its own status.
bool NoControllerForDomain(win::Status status) {
  return NoController(status) || status == win::ERROR_BAD_NETPATH;
}

}  // namespace

DcNameResult GetDcName(RpcTransport& transport, std::string_view host, std::string_view server,
                       std::string_view domain) {
  const std::string name = server.empty() ? "\\\\" + std::string(host) : std::string(server);
  DcNameResult result = CallAndDecode<DcNameResult>(
      transport, host, netlogon::kInterface, netlogon::kNetrGetDCName,
      netlogon::EncodeGetDcName(name, domain), netlogon::DecodeGetDcName);
  const bool no_controller =
      server.empty() ? NoControllerForDomain(result.status) : NoController(result.status);
  if (no_controller) return Failed<DcNameResult>(win::NERR_DCNotFound);
  return result;
}

DcInfoResult RemoteDirectoryService::DsGetDcName(std::string_view domain, std::uint32_t flags) {
  if (domain.find('.') != std::string_view::npos) {
    DcInfoResult located = directory_.LocateController(domain, flags);
    if (located.status == win::ERROR_SUCCESS) return located;
  }
  const std::string_view host = domain.empty() ? std::string_view(session_host_) : domain;
  DcInfoResult result = CallAndDecode<DcInfoResult>(
      transport_, host, netlogon::kInterface, netlogon::kDsrGetDcNameEx2,
      netlogon::EncodeGetDcNameEx2("", domain, flags), netlogon::DecodeGetDcNameEx2);
  if (NoControllerForDomain(result.status)) return Failed<DcInfoResult>(win::ERROR_NO_SUCH_DOMAIN);
  return result;
}

}  // namespace tabulon::platform::remote
