#pragma once
// The groups family where nothing can serve it: every call fails with
// ERROR_NOT_SUPPORTED, so the group exports report a failure.
#include "platform/groups.h"

namespace tabulon::unsupported {

class UnsupportedGroups final : public platform::GroupService {
 public:
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
};

}  // namespace tabulon::unsupported
