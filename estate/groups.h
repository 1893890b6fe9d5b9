#pragma once
// The groups of the estate's account databases: a computer answers from its
// own local groups and accounts, a domain's controller from the domain's.
#include "estate/simulation.h"
#include "platform/groups.h"

namespace tabulon::estate {

class EstateGroups final : public platform::GroupService {
 public:
  EstateGroups(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  platform::LocalGroupEnumResult NetLocalGroupEnum1(std::string_view server,
                                                    std::uint32_t preferred_max_length,
                                                    std::uint32_t resume_handle) override;
  platform::LocalGroupMembersResult NetLocalGroupGetMembers2(std::string_view server,
                                                             std::string_view group,
                                                             std::uint32_t preferred_max_length,
                                                             std::uint32_t resume_handle) override;
  platform::LocalGroupInfoResult NetLocalGroupGetInfo1(std::string_view server,
                                                       std::string_view group) override;
  platform::GroupInfoResult NetGroupGetInfo1(std::string_view server,
                                             std::string_view group) override;
  platform::GroupUsersResult NetGroupGetUsers0(std::string_view server, std::string_view group,
                                               std::uint32_t preferred_max_length,
                                               std::uint32_t resume_handle) override;

 private:
  // Records a call on `server` and reaches it: the computer, or null with
  // `status` set to what the call answers instead.
  template <typename DetailFn>
  const Computer* Reach(Operation op, std::string_view server, DetailFn&& detail,
                        win::Status& status);
  // A group of the database `computer` answers from, with the failure
  // injected for `op` on it: the group, or null with `status` set.
  const Group* FindGroup(Operation op, const Computer& computer, std::string_view name, bool local,
                         win::Status& status);

  Simulation& sim_;
  const platform::SessionOptions& session_;
};

}  // namespace tabulon::estate
