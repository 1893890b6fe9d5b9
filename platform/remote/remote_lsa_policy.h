#pragma once
// The local security authority of a server over lsarpc: policy handles under
// the LsaHandle numbers the program passes around, closed at the latest when
// the session ends; privilege names through the session's lookup policies.
#include <map>
#include <string>
#include <string_view>

#include "platform/lsa_policy.h"
#include "platform/remote/lsa_lookup_policies.h"
#include "platform/remote/ndr/context_handle.h"
#include "platform/remote/rpc_transport.h"

namespace tabulon::platform::remote {

class RemoteLsaPolicy final : public LsaPolicy {
 public:
  RemoteLsaPolicy(RpcTransport& transport, LsaLookupPolicies& lookups,
                  std::string_view session_host)
      : transport_(transport), lookups_(lookups), session_host_(session_host) {}
  ~RemoteLsaPolicy() override;
  RemoteLsaPolicy(const RemoteLsaPolicy&) = delete;
  RemoteLsaPolicy& operator=(const RemoteLsaPolicy&) = delete;

  LsaOpenResult OpenPolicy(std::string_view system, std::uint32_t access) override;
  nt::Status Close(LsaHandle policy) override;
  AccountsWithRightResult EnumerateAccountsWithUserRight(LsaHandle policy,
                                                         std::string_view right) override;
  AuditEventsResult QueryAuditEvents(LsaHandle policy, std::uint32_t information_class) override;
  PrivilegeDisplayNameResult LookupPrivilegeDisplayName(std::string_view system,
                                                        std::string_view name,
                                                        std::uint32_t buffer_chars) override;

 private:
  struct OpenPolicyHandle {
    std::string host;
    ndr::ContextHandle handle;
  };
  RpcReply Call(const OpenPolicyHandle& policy, std::uint16_t opnum,
                const std::vector<std::uint8_t>& request);

  RpcTransport& transport_;
  LsaLookupPolicies& lookups_;
  const std::string session_host_;
  std::map<LsaHandle, OpenPolicyHandle> policies_;
  LsaHandle next_ = 1;  // numbers are never reused within a session
};

}  // namespace tabulon::platform::remote
