#pragma once
// The user accounts of a server's account database over the samr interface,
// as the NetAPI32 user functions give them. Domain handles come from the
// session's SamrDomainHandles; the RIDs of the accounts a display listing
// served are remembered, so that describing each of them costs no name
// lookup.
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/remote/builtin_alias_members.h"
#include "platform/remote/rpc_transport.h"
#include "platform/remote/samr_domain_handles.h"
#include "platform/user_accounts.h"

namespace tabulon::platform::remote {

class RemoteUserAccounts final : public UserAccounts {
 public:
  RemoteUserAccounts(RpcTransport& transport, SamrDomainHandles& domains)
      : transport_(transport), domains_(domains) {}

  DisplayUsersResult NetQueryDisplayUsers(std::string_view server, std::uint32_t index,
                                          std::uint32_t entries_requested,
                                          std::uint32_t preferred_max_length) override;
  UserInfoResult NetUserGetInfo(std::string_view server, std::string_view user,
                                std::uint32_t level) override;
  UserGroupsResult NetUserGetLocalGroups(std::string_view server, std::string_view user,
                                         std::uint32_t level, std::uint32_t flags) override;
  UserGroupsResult NetUserGetGroups(std::string_view server, std::string_view user,
                                    std::uint32_t level) override;

 private:
  // An account found in the account domain of a server.
  struct Account {
    win::Status status = win::ERROR_SUCCESS;
    SamrDomain domain;
    std::uint32_t rid = 0;
  };
  Account Find(std::string_view server, std::string_view user);
  // The built-in aliases of an account and its groups.
  win::Status BuiltinAliases(std::string_view server, const std::vector<Sid>& sids,
                             std::vector<std::uint32_t>& aliases);
  void Remember(const std::string& host, std::string_view user, std::uint32_t rid);

  RpcTransport& transport_;
  SamrDomainHandles& domains_;
  BuiltinAliasMembers builtin_members_{transport_};
  // By host and upper-case name: SAM names ignore case.
  std::unordered_map<std::string, std::uint32_t> rids_;
};

}  // namespace tabulon::platform::remote
