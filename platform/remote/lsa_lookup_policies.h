#pragma once
// The policies a session holds open for translating names and SIDs: one per
// server, opened at its first use and closed when the session ends. An empty
// system names the session's own computer: this computer keeps no account
// database of its own.
#include <map>
#include <string>
#include <string_view>

#include "platform/remote/ndr/context_handle.h"
#include "platform/remote/rpc_transport.h"

namespace tabulon::platform::remote {

struct LookupPolicy {
  win::Status status = win::ERROR_SUCCESS;
  std::string host;
  ndr::ContextHandle handle;
};

class LsaLookupPolicies {
 public:
  LsaLookupPolicies(RpcTransport& transport, std::string_view session_host)
      : transport_(transport), session_host_(session_host) {}
  ~LsaLookupPolicies();
  LsaLookupPolicies(const LsaLookupPolicies&) = delete;
  LsaLookupPolicies& operator=(const LsaLookupPolicies&) = delete;

  // The policy on `system` ("\\NAME", "NAME"), opened for looking up names
  // and privileges. A server that cannot be reached is an unavailable
  // RPC server, as the account functions report it.
  LookupPolicy On(std::string_view system);
  // Drops the policy on `host` without closing it: the transport failed a
  // call to it, and the connection the handle belonged to is gone.
  void Forget(const std::string& host) { policies_.erase(host); }

 private:
  RpcTransport& transport_;
  const std::string session_host_;
  std::map<std::string, ndr::ContextHandle> policies_;  // by host
};

// The account functions are RPC runtime calls: a server that cannot be
// reached is an unavailable RPC server to them.
win::Status LookupStatus(win::Status status);

}  // namespace tabulon::platform::remote
