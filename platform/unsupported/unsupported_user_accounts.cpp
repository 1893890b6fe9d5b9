#include "platform/unsupported/unsupported_user_accounts.h"

#include "platform/unsupported/refused.h"

namespace tabulon::unsupported {

platform::DisplayUsersResult UnsupportedUserAccounts::NetQueryDisplayUsers(std::string_view,
                                                                           std::uint32_t,
                                                                           std::uint32_t,
                                                                           std::uint32_t) {
  return NotSupported<platform::DisplayUsersResult>();
}

platform::UserInfoResult UnsupportedUserAccounts::NetUserGetInfo(std::string_view, std::string_view,
                                                                 std::uint32_t) {
  return NotSupported<platform::UserInfoResult>();
}

platform::UserGroupsResult UnsupportedUserAccounts::NetUserGetLocalGroups(std::string_view,
                                                                          std::string_view,
                                                                          std::uint32_t,
                                                                          std::uint32_t) {
  return NotSupported<platform::UserGroupsResult>();
}

platform::UserGroupsResult UnsupportedUserAccounts::NetUserGetGroups(std::string_view,
                                                                     std::string_view,
                                                                     std::uint32_t) {
  return NotSupported<platform::UserGroupsResult>();
}

}  // namespace tabulon::unsupported
