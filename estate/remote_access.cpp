#include "estate/remote_access.h"

#include "estate/user_accounts.h"

namespace tabulon::estate {

bool EstateRemoteAccess::Available() {
  return sim_.estate().remote_access_library;
}

platform::RasUserResult EstateRemoteAccess::Lookup(Operation op, std::string_view server,
                                                   std::string_view user, bool has_library,
                                                   bool level_ok, const std::string& detail) {
  const Estate& estate = sim_.estate();
  platform::RasUserResult result;
  const Computer* computer = has_library ? estate.FindServer(server) : nullptr;
  result.status = sim_.Reach(
      session_, op, server, [&] { return detail; },
      has_library ? sim_.ToComputer(computer) : Destination{},
      has_library ? win::ERROR_BAD_NETPATH : win::ERROR_PROC_NOT_FOUND);
  if (result.status != win::ERROR_SUCCESS) return result;
  if (!level_ok) {
    result.status = win::ERROR_INVALID_LEVEL;
    return result;
  }
  const User* found = FindUserByName(DatabaseOf(estate, *computer), user);
  if (found == nullptr) {
    result.status = win::NERR_UserNotFound;
    return result;
  }
  result.status = sim_.Injected(op, found->failures, estate.IndexOf(*computer));
  if (result.status == win::ERROR_SUCCESS) result.user = found->dial_in;
  return result;
}

platform::RasUserResult EstateRemoteAccess::MprAdminUserGetInfo(std::string_view server,
                                                                std::string_view user,
                                                                std::uint32_t level) {
  // mprapi comes with every system that has it; only rassapi is optional.
  return Lookup(Operation::kMprAdminUserGetInfo, server, user, true, level == 0,
                "user=" + std::string(user) + " level=" + std::to_string(level));
}

platform::RasUserResult EstateRemoteAccess::RasAdminUserGetInfo(std::string_view server,
                                                                std::string_view user) {
  return Lookup(Operation::kRasAdminUserGetInfo, server, user, Available(), true,
                "user=" + std::string(user));
}

}  // namespace tabulon::estate
