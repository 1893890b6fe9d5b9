#include "estate/user_accounts.h"

#include <algorithm>
#include <cctype>

#include "platform/sizes.h"
#include "platform/user_info_levels.h"

namespace tabulon::estate {
namespace {

constexpr std::uint32_t kDomainControllerBits = 0x8 | 0x10;  // PDC, BDC

// NET_DISPLAY_USER: 24 bytes, name, comment, full name.
std::uint32_t DisplayUserBytes(const platform::DisplayUser& user) {
  return 24 + platform::WideStringBytes(user.name) + platform::WideStringBytes(user.comment) +
         platform::WideStringBytes(user.full_name);
}

std::string LevelDetail(std::string_view user, std::uint32_t level) {
  return "user=" + std::string(user) + " level=" + std::to_string(level);
}

}  // namespace

bool IsController(const Estate& estate, const Computer& computer) {
  const Domain* domain = estate.DomainOf(computer);
  return domain != nullptr && (domain->controller_index == estate.IndexOf(computer) ||
                               (computer.server.type & kDomainControllerBits) != 0);
}

bool NameLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) <
           std::tolower(static_cast<unsigned char>(y));
  });
}

const UserList& DatabaseOf(const Estate& estate, const Computer& computer) {
  static const UserList kNone;
  if (IsController(estate, computer)) {
    const Domain& domain = *estate.DomainOf(computer);
    return domain.users ? *domain.users : kNone;
  }
  return computer.users ? *computer.users : kNone;
}

const User* FindUserByName(const UserList& users, std::string_view name) {
  const auto it =
      std::lower_bound(users.begin(), users.end(), name,
                       [](const User& u, std::string_view n) { return NameLess(u.info.name, n); });
  return it != users.end() && !NameLess(name, it->info.name) ? &*it : nullptr;
}

const LogonCounters* FindCounters(const std::vector<LogonCounters>& counters,
                                  std::string_view name) {
  const auto it = std::lower_bound(
      counters.begin(), counters.end(), name,
      [](const LogonCounters& c, std::string_view n) { return NameLess(c.user, n); });
  return it != counters.end() && !NameLess(name, it->user) ? &*it : nullptr;
}

template <typename DetailFn>
const Computer* EstateUserAccounts::Reach(Operation op, std::string_view server, DetailFn&& detail,
                                          win::Status& status) {
  const Computer* computer = sim_.estate().FindServer(server);
  status =
      sim_.Reach(session_, op, server, detail, sim_.ToComputer(computer), win::ERROR_BAD_NETPATH);
  return status == win::ERROR_SUCCESS ? computer : nullptr;
}

const User* EstateUserAccounts::FindUser(Operation op, const Computer& computer,
                                         std::string_view name, win::Status& status) {
  const User* user = FindUserByName(DatabaseOf(sim_.estate(), computer), name);
  if (user == nullptr) {
    status = win::NERR_UserNotFound;
    return nullptr;
  }
  status = sim_.Injected(op, user->failures, sim_.estate().IndexOf(computer));
  return status == win::ERROR_SUCCESS ? user : nullptr;
}

platform::DisplayUsersResult EstateUserAccounts::NetQueryDisplayUsers(
    std::string_view server, std::uint32_t index, std::uint32_t entries_requested,
    std::uint32_t preferred_max_length) {
  platform::DisplayUsersResult result;
  const Computer* computer = Reach(
      Operation::kNetQueryDisplayInformation, server,
      [&] {
        return "level=1 index=" + std::to_string(index) +
               " entries=" + std::to_string(entries_requested) +
               " prefmaxlen=" + std::to_string(preferred_max_length);
      },
      result.status);
  if (computer == nullptr) return result;
  const UserList& users = DatabaseOf(sim_.estate(), *computer);
  const std::uint32_t limit = std::min(entries_requested, kMaxDisplayEntries);
  std::uint64_t used = 0;
  std::size_t i = index;
  for (; i < users.size() && result.entries.size() < limit; ++i) {
    const platform::UserInfo& info = users[i].info;
    platform::DisplayUser entry{info.name,      info.comment, info.flags,
                                info.full_name, info.user_id, static_cast<std::uint32_t>(i + 1)};
    const std::uint32_t bytes = DisplayUserBytes(entry);
    if (!result.entries.empty() && preferred_max_length != platform::kMaxPreferredLength &&
        used + bytes > preferred_max_length) {
      break;
    }
    used += bytes;
    result.entries.push_back(std::move(entry));
  }
  if (i < users.size()) result.status = win::ERROR_MORE_DATA;
  return result;
}

platform::UserInfoResult EstateUserAccounts::NetUserGetInfo(std::string_view server,
                                                            std::string_view user,
                                                            std::uint32_t level) {
  platform::UserInfoResult result;
  const Computer* computer = Reach(
      Operation::kNetUserGetInfo, server, [&] { return LevelDetail(user, level); }, result.status);
  if (computer == nullptr) return result;
  if (!platform::IsUserInfoLevel(level)) {
    result.status = win::ERROR_INVALID_LEVEL;
    return result;
  }
  const User* found = FindUser(Operation::kNetUserGetInfo, *computer, user, result.status);
  if (found == nullptr) return result;
  result.info = platform::UserInfoAtLevel(found->info, level);
  // A controller counts logons of domain accounts on its own.
  if ((level == 2 || level == 3) && IsController(sim_.estate(), *computer)) {
    const LogonCounters* counters = FindCounters(computer->logon_counters, user);
    const LogonCounters none;
    const LogonCounters& c = counters != nullptr ? *counters : none;
    result.info.last_logon = c.last_logon;
    result.info.last_logoff = c.last_logoff;
    result.info.bad_pw_count = c.bad_pw_count;
    result.info.num_logons = c.num_logons;
  }
  return result;
}

platform::UserGroupsResult EstateUserAccounts::NetUserGetLocalGroups(std::string_view server,
                                                                     std::string_view user,
                                                                     std::uint32_t level,
                                                                     std::uint32_t flags) {
  platform::UserGroupsResult result;
  const Computer* computer = Reach(
      Operation::kNetUserGetLocalGroups, server,
      [&] { return LevelDetail(user, level) + " flags=" + std::to_string(flags); }, result.status);
  if (computer == nullptr) return result;
  if (level != 0) {
    result.status = win::ERROR_INVALID_LEVEL;
    return result;
  }
  const User* found = FindUser(Operation::kNetUserGetLocalGroups, *computer, user, result.status);
  if (found == nullptr) return result;
  result.groups = found->local_groups;
  result.total_entries = static_cast<std::uint32_t>(result.groups.size());
  return result;
}

platform::UserGroupsResult EstateUserAccounts::NetUserGetGroups(std::string_view server,
                                                                std::string_view user,
                                                                std::uint32_t level) {
  platform::UserGroupsResult result;
  const Computer* computer = Reach(
      Operation::kNetUserGetGroups, server, [&] { return LevelDetail(user, level); },
      result.status);
  if (computer == nullptr) return result;
  if (level != 0) {
    result.status = win::ERROR_INVALID_LEVEL;
    return result;
  }
  const User* found = FindUser(Operation::kNetUserGetGroups, *computer, user, result.status);
  if (found == nullptr) return result;
  result.groups = found->global_groups;
  result.total_entries = static_cast<std::uint32_t>(result.groups.size());
  return result;
}

}  // namespace tabulon::estate
