#pragma once
// The user account database where no backend can reach it: every call fails
// with ERROR_NOT_SUPPORTED, so the users export reports a failure instead of
// an empty file that looks like success.
#include "platform/user_accounts.h"

namespace tabulon::unsupported {

class UnsupportedUserAccounts final : public platform::UserAccounts {
 public:
  platform::DisplayUsersResult NetQueryDisplayUsers(std::string_view server, std::uint32_t index,
                                                    std::uint32_t entries_requested,
                                                    std::uint32_t preferred_max_length) override;
  platform::UserInfoResult NetUserGetInfo(std::string_view server, std::string_view user,
                                          std::uint32_t level) override;
  platform::UserGroupsResult NetUserGetLocalGroups(std::string_view server, std::string_view user,
                                                   std::uint32_t level,
                                                   std::uint32_t flags) override;
  platform::UserGroupsResult NetUserGetGroups(std::string_view server, std::string_view user,
                                              std::uint32_t level) override;
};

}  // namespace tabulon::unsupported
