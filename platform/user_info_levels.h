#pragma once
// What each NetUserGetInfo level keeps of USER_INFO_3, for every backend.
#include <cstdint>

#include "platform/user_accounts.h"

namespace tabulon::platform {

// Levels 2, 3, 10 and 20.
bool IsUserInfoLevel(std::uint32_t level);
// `full` as `level` reports it: the fields it leaves out at their defaults.
UserInfo UserInfoAtLevel(const UserInfo& full, std::uint32_t level);

}  // namespace tabulon::platform
