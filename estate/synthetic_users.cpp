#include "estate/synthetic_users.h"

#include <algorithm>

#include "estate/user_accounts.h"

namespace tabulon::estate {
namespace {

// 2026-03-01 00:00:00 UTC; logons fall in the month before.
constexpr std::uint32_t kLatestLogon = 1772323200;
constexpr std::uint32_t kSecondsPerMonth = 30 * 86400;

// A fixed mix of two numbers, so the same estate always gets the same
// counters without a shared random sequence.
std::uint32_t Mix(std::uint32_t a, std::uint32_t b) {
  std::uint64_t z = (std::uint64_t{a} << 32 | b) + 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return static_cast<std::uint32_t>(z ^ (z >> 31));
}

}  // namespace

std::shared_ptr<const UserList> MakeUserRecords(const Domain& domain) {
  auto users = std::make_shared<UserList>();
  for (const Account& account : domain.accounts) {
    if (account.use != platform::SidNameUse::kUser || account.sid.sub_authorities.empty()) {
      continue;
    }
    User user;
    user.info.name = account.name;
    user.info.user_id = account.sid.sub_authorities.back();
    user.info.full_name = "Synthetic " + account.name;
    user.info.password_age = Mix(user.info.user_id, 1) % kSecondsPerMonth;
    user.global_groups = {"Domain Users"};
    users->push_back(std::move(user));
  }
  std::sort(users->begin(), users->end(),
            [](const User& a, const User& b) { return NameLess(a.info.name, b.info.name); });
  return users;
}

std::vector<LogonCounters> MakeLogonCounters(const UserList& users, std::uint32_t controller) {
  std::vector<LogonCounters> counters;
  counters.reserve(users.size());
  for (const User& user : users) {
    const std::uint32_t r = Mix(controller, user.info.user_id);
    LogonCounters c;
    c.user = user.info.name;
    c.num_logons = r % 50;
    c.bad_pw_count = (r >> 8) % 3;
    c.last_logon = c.num_logons == 0 ? 0 : kLatestLogon - (r >> 12) % kSecondsPerMonth;
    c.last_logoff = c.last_logon == 0 ? 0 : c.last_logon + 3600;
    counters.push_back(std::move(c));
  }
  return counters;
}

}  // namespace tabulon::estate
