#pragma once
// The user account databases of the estate, for one session. A domain
// controller answers from its domain's database with its own logon
// counters; any other computer from its local one.
#include "estate/simulation.h"
#include "platform/user_accounts.h"

namespace tabulon::estate {

class EstateUserAccounts final : public platform::UserAccounts {
 public:
  EstateUserAccounts(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

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

  // Windows returns at most this many display entries per call.
  static constexpr std::uint32_t kMaxDisplayEntries = 100;

 private:
  // Records a call on `server` and reaches it: the computer, or null with
  // `status` set to what the call answers instead.
  template <typename DetailFn>
  const Computer* Reach(Operation op, std::string_view server, DetailFn&& detail,
                        win::Status& status);
  // The account `name` of the database `computer` answers from, after the
  // failures injected for it; null with `status` set when there is none.
  const User* FindUser(Operation op, const Computer& computer, std::string_view name,
                       win::Status& status);

  Simulation& sim_;
  const platform::SessionOptions& session_;
};

// Whether `computer` is a controller of its domain: the domain's named
// controller, or a computer of it with the PDC or BDC bit.
bool IsController(const Estate& estate, const Computer& computer);
// The database a computer answers from: its domain's on a controller, else
// its own; empty when it has none.
const UserList& DatabaseOf(const Estate& estate, const Computer& computer);
// Binary search of a list sorted by name without regard to case.
const User* FindUserByName(const UserList& users, std::string_view name);
const LogonCounters* FindCounters(const std::vector<LogonCounters>& counters,
                                  std::string_view name);
// The order of both lists.
bool NameLess(std::string_view a, std::string_view b);

}  // namespace tabulon::estate
