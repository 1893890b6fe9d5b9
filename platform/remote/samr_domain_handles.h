#pragma once
// The account databases a session has open: per server one connection and
// its account and built-in domains, each opened on first use and closed when
// the session ends, so that a per-account call costs its own round trips
// only.
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "platform/remote/ndr/context_handle.h"
#include "platform/remote/rpc_transport.h"
#include "platform/security.h"

namespace tabulon::platform::remote {

// The account domain holds the server's own users, groups and aliases; the
// built-in domain (S-1-5-32) its built-in aliases.
enum class SamDomain { kAccount, kBuiltin };

struct OpenSamDomain {
  win::Status status = win::ERROR_SUCCESS;
  ndr::ContextHandle handle;
  Sid sid;
};

class SamrDomainHandles {
 public:
  explicit SamrDomainHandles(RpcTransport& transport) : transport_(transport) {}
  ~SamrDomainHandles();
  SamrDomainHandles(const SamrDomainHandles&) = delete;
  SamrDomainHandles& operator=(const SamrDomainHandles&) = delete;

  // The domain on `host`, opened for reading and listing its accounts; a
  // failure is not kept, the next call tries again.
  OpenSamDomain Open(const std::string& host, SamDomain which);
  // Drops what is held on `host` without closing it: the connection it was
  // opened on is gone (the transport failed a call to it).
  void Forget(const std::string& host);

 private:
  win::Status Connect(const std::string& host);

  RpcTransport& transport_;
  std::map<std::string, ndr::ContextHandle> connections_;  // by host
  std::map<std::pair<std::string, SamDomain>, OpenSamDomain> domains_;
};

}  // namespace tabulon::platform::remote
