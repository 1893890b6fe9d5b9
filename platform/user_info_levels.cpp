#include "platform/user_info_levels.h"

namespace tabulon::platform {

bool IsUserInfoLevel(std::uint32_t level) {
  return level == 2 || level == 3 || level == 10 || level == 20;
}

UserInfo UserInfoAtLevel(const UserInfo& full, std::uint32_t level) {
  if (level == 3) return full;
  UserInfo info;
  info.name = full.name;
  info.comment = full.comment;
  info.full_name = full.full_name;
  if (level == 20) {
    info.flags = full.flags;
    info.user_id = full.user_id;
    return info;
  }
  info.usr_comment = full.usr_comment;
  if (level == 10) return info;
  info = full;
  const UserInfo defaults;
  info.user_id = defaults.user_id;
  info.primary_group_id = defaults.primary_group_id;
  info.profile.clear();
  info.home_dir_drive.clear();
  info.password_expired = 0;
  return info;
}

}  // namespace tabulon::platform
