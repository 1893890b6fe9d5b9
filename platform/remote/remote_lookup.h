#pragma once
// Account lookups over the local security authority interface, through the
// session's lookup policies.
#include <string_view>

#include "platform/remote/lsa_lookup_policies.h"
#include "platform/remote/rpc_transport.h"
#include "platform/security.h"

namespace tabulon::platform::remote {

class RemoteAccountLookup final : public AccountLookup {
 public:
  RemoteAccountLookup(RpcTransport& transport, LsaLookupPolicies& policies)
      : transport_(transport), policies_(policies) {}

  AccountOfSid LookupAccountSid(std::string_view system, const Sid& sid) override;
  SidOfAccount LookupAccountName(std::string_view system, std::string_view account,
                                 std::uint32_t sid_buffer_size) override;

 private:
  RpcTransport& transport_;
  LsaLookupPolicies& policies_;
};

}  // namespace tabulon::platform::remote
