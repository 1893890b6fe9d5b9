#pragma once
// The account database handles a session keeps open: per server, the
// connection and its account and built-in domains, each opened at first use
// and closed when the session ends, so that the calls on accounts cost
// their own round trips only.
#include <map>
#include <string>
#include <string_view>

#include "platform/remote/ndr/context_handle.h"
#include "platform/remote/rpc_transport.h"
#include "platform/security.h"

namespace tabulon::platform::remote {

// The account domain holds the server's own users, groups and aliases; the
// built-in domain (S-1-5-32) its built-in aliases.
enum class SamDomain { kAccount, kBuiltin };

// An open domain: the server it is on, its handle, SID and name; or the
// status of what failed.
struct SamrDomain {
  win::Status status = win::ERROR_SUCCESS;
  std::string host;
  ndr::ContextHandle handle;
  Sid sid;
  std::string name;
};

class SamrDomainHandles {
 public:
  SamrDomainHandles(RpcTransport& transport, std::string_view session_host)
      : transport_(transport), session_host_(session_host) {}
  ~SamrDomainHandles();
  SamrDomainHandles(const SamrDomainHandles&) = delete;
  SamrDomainHandles& operator=(const SamrDomainHandles&) = delete;

  // The domain of `server` ("\\NAME"; empty: the session's target) that
  // holds its accounts, or its built-in domain. A failure is not kept: the
  // next call tries again.
  SamrDomain Open(std::string_view server, SamDomain which);
  SamrDomain Account(std::string_view server) { return Open(server, SamDomain::kAccount); }
  SamrDomain Builtin(std::string_view server) { return Open(server, SamDomain::kBuiltin); }
  // Drops what is held on `host` without closing it: the connection it was
  // opened on is gone (the transport failed a call to it).
  void Forget(const std::string& host) { servers_.erase(host); }

 private:
  struct Server {
    ndr::ContextHandle connection;
    std::string account_name;
    Sid account_sid;
    ndr::ContextHandle account;
    ndr::ContextHandle builtin;
  };
  win::Status Connect(const std::string& host, std::string_view server, Server& opened);
  win::Status OpenDomain(const std::string& host, const Server& connected, const Sid& sid,
                         ndr::ContextHandle& handle);

  RpcTransport& transport_;
  const std::string session_host_;
  std::map<std::string, Server> servers_;  // by host
};

}  // namespace tabulon::platform::remote
