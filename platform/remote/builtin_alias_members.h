#pragma once
// The members of the built-in aliases that decide a user's privilege level
// and operator flags, read once per server and session: describing each
// account then asks the server nothing about aliases.
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/remote/rpc_transport.h"
#include "platform/remote/samr_domain_handles.h"
#include "platform/security.h"

namespace tabulon::platform::remote {

class BuiltinAliasMembers {
 public:
  explicit BuiltinAliasMembers(RpcTransport& transport) : transport_(transport) {}

  // The RIDs of the aliases of `builtin` (an open built-in domain) that have
  // any of `sids` as a member, as SamrGetAliasMembership would answer;
  // nothing when the members cannot be read, so that the caller asks the
  // server instead.
  std::optional<std::vector<std::uint32_t>> AliasesOf(const SamrDomain& builtin,
                                                      std::span<const Sid> sids);

 private:
  // Members by alias RID; empty when they cannot be read.
  using Members = std::optional<std::map<std::uint32_t, std::vector<Sid>>>;
  Members Read(const SamrDomain& builtin);

  RpcTransport& transport_;
  std::map<std::string, Members> servers_;  // by host
};

}  // namespace tabulon::platform::remote
