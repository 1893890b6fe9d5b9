#pragma once
// Groups (platform/groups.h) on NetAPI32's local and global group functions.
#include "platform/bounded_calls.h"
#include "platform/groups.h"

namespace tabulon::platform::win32 {

class Win32GroupService final : public GroupService {
 public:
  // `calls` runs every call; it must outlive this object.
  explicit Win32GroupService(BoundedCalls& calls) : calls_(calls) {}

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
  BoundedCalls& calls_;
};

}  // namespace tabulon::platform::win32
