#pragma once
// User accounts (platform/user_accounts.h) on NetAPI32's user functions.
#include "platform/bounded_calls.h"
#include "platform/user_accounts.h"

namespace tabulon::platform::win32 {

class Win32UserAccounts final : public UserAccounts {
 public:
  // `calls` runs every call; it must outlive this object.
  explicit Win32UserAccounts(BoundedCalls& calls) : calls_(calls) {}

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
  BoundedCalls& calls_;
};

}  // namespace tabulon::platform::win32
