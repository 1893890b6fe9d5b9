#pragma once
// Local and global groups of a server's account database over the samr
// interface, members named through the server's own lsarpc. Local groups
// are the aliases of the built-in domain followed by those of the account
// domain, as Windows lists them; global groups are the account domain's.
// Group lists and opened groups are kept per server for the session, so
// that a call per group costs the call itself; the groups are closed when
// the session ends.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "platform/groups.h"
#include "platform/remote/account_codec_support.h"
#include "platform/remote/lsa_lookup_policies.h"
#include "platform/remote/rpc_transport.h"
#include "platform/remote/samr_domain_handles.h"

namespace tabulon::platform::remote {

class RemoteGroups final : public GroupService {
 public:
  RemoteGroups(RpcTransport& transport, SamrDomainHandles& domains, LsaLookupPolicies& policies,
               std::string_view session_host)
      : transport_(transport),
        domains_(domains),
        policies_(policies),
        session_host_(session_host) {}
  ~RemoteGroups() override;
  RemoteGroups(const RemoteGroups&) = delete;
  RemoteGroups& operator=(const RemoteGroups&) = delete;

  LocalGroupEnumResult NetLocalGroupEnum1(std::string_view server,
                                          std::uint32_t preferred_max_length,
                                          std::uint32_t resume_handle) override;
  LocalGroupMembersResult NetLocalGroupGetMembers2(std::string_view server, std::string_view group,
                                                   std::uint32_t preferred_max_length,
                                                   std::uint32_t resume_handle) override;
  LocalGroupInfoResult NetLocalGroupGetInfo1(std::string_view server,
                                             std::string_view group) override;
  GroupInfoResult NetGroupGetInfo1(std::string_view server, std::string_view group) override;
  GroupUsersResult NetGroupGetUsers0(std::string_view server, std::string_view group,
                                     std::uint32_t preferred_max_length,
                                     std::uint32_t resume_handle) override;

 private:
  // A group or alias as its domain lists it.
  struct Listed {
    SamDomain domain = SamDomain::kAccount;
    RidName account;
  };
  struct Lists {
    win::Status status = win::ERROR_SUCCESS;
    const std::vector<Listed>* entries = nullptr;
  };
  // An alias or group opened for reading and listing, by its domain.
  struct Opened {
    win::Status status = win::ERROR_SUCCESS;
    ndr::ContextHandle handle;
    ndr::ContextHandle domain;
  };
  using OpenedKey = std::tuple<std::string, SamDomain, bool, std::uint32_t>;  // host, alias?

  std::string HostFor(std::string_view server) const;
  RpcReply Call(const std::string& host, std::uint16_t opnum,
                const std::vector<std::uint8_t>& request);
  win::Status ListDomain(const std::string& host, SamDomain which, bool aliases,
                         std::vector<Listed>& out);
  Lists Aliases(const std::string& host, bool fresh);
  Lists Groups(const std::string& host);
  Opened Open(const std::string& host, const Listed& listed, bool alias);
  // The alias or group of that name, opened; NERR_GroupNotFound when the
  // server has none.
  Opened Find(const std::string& host, const Lists& lists, std::string_view name, bool alias);

  RpcTransport& transport_;
  SamrDomainHandles& domains_;
  LsaLookupPolicies& policies_;
  const std::string session_host_;
  std::map<std::string, std::vector<Listed>> aliases_;  // by host
  std::map<std::string, std::vector<Listed>> groups_;   // by host
  std::map<OpenedKey, ndr::ContextHandle> opened_;
};

}  // namespace tabulon::platform::remote
