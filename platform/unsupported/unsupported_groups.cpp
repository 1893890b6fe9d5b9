#include "platform/unsupported/unsupported_groups.h"

#include "platform/unsupported/refused.h"

namespace tabulon::unsupported {

platform::LocalGroupEnumResult UnsupportedGroups::NetLocalGroupEnum1(std::string_view,
                                                                     std::uint32_t, std::uint32_t) {
  return NotSupported<platform::LocalGroupEnumResult>();
}

platform::LocalGroupMembersResult UnsupportedGroups::NetLocalGroupGetMembers2(std::string_view,
                                                                              std::string_view,
                                                                              std::uint32_t,
                                                                              std::uint32_t) {
  return NotSupported<platform::LocalGroupMembersResult>();
}

platform::LocalGroupInfoResult UnsupportedGroups::NetLocalGroupGetInfo1(std::string_view,
                                                                        std::string_view) {
  return NotSupported<platform::LocalGroupInfoResult>();
}

platform::GroupInfoResult UnsupportedGroups::NetGroupGetInfo1(std::string_view, std::string_view) {
  return NotSupported<platform::GroupInfoResult>();
}

platform::GroupUsersResult UnsupportedGroups::NetGroupGetUsers0(std::string_view, std::string_view,
                                                                std::uint32_t, std::uint32_t) {
  return NotSupported<platform::GroupUsersResult>();
}

}  // namespace tabulon::unsupported
