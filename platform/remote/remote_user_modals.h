#pragma once
// The settings of a server's account database over the samr interface, as
// NetUserModalsGet reports them: read from its account domain, through the
// session's domain handles.
#include "platform/remote/rpc_transport.h"
#include "platform/remote/samr_domain_handles.h"
#include "platform/user_modals.h"

namespace tabulon::platform::remote {

class RemoteUserModals final : public UserModals {
 public:
  RemoteUserModals(RpcTransport& transport, SamrDomainHandles& domains)
      : transport_(transport), domains_(domains) {}

  UserModals0Result NetUserModalsGet0(std::string_view server) override;
  UserModals2Result NetUserModalsGet2(std::string_view server) override;
  UserModals3Result NetUserModalsGet3(std::string_view server) override;

 private:
  RpcTransport& transport_;
  SamrDomainHandles& domains_;
};

}  // namespace tabulon::platform::remote
