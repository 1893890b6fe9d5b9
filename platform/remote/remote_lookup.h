#pragma once
// Account lookups over the local security authority interface. A policy is
// opened on a server at its first lookup and kept for the session; the
// session closes them when it ends. An empty system names the session's own
// computer: this computer keeps no account database of its own.
#include <map>
#include <string>
#include <string_view>

#include "platform/remote/ndr/context_handle.h"
#include "platform/remote/rpc_transport.h"
#include "platform/security.h"

namespace tabulon::platform::remote {

class RemoteAccountLookup final : public AccountLookup {
 public:
  RemoteAccountLookup(RpcTransport& transport, std::string_view session_host)
      : transport_(transport), session_host_(session_host) {}
  ~RemoteAccountLookup() override;
  RemoteAccountLookup(const RemoteAccountLookup&) = delete;
  RemoteAccountLookup& operator=(const RemoteAccountLookup&) = delete;

  AccountOfSid LookupAccountSid(std::string_view system, const Sid& sid) override;
  SidOfAccount LookupAccountName(std::string_view system, std::string_view account,
                                 std::uint32_t sid_buffer_size) override;

 private:
  struct Policy {
    win::Status status = win::ERROR_SUCCESS;
    std::string host;
    ndr::ContextHandle handle;
  };
  Policy PolicyOn(std::string_view system);

  RpcTransport& transport_;
  const std::string session_host_;
  std::map<std::string, ndr::ContextHandle> policies_;  // by host
};

}  // namespace tabulon::platform::remote
