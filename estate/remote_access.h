#pragma once
// Dial-in permissions answered from the estate: the `dial_in` record of each
// account, from the database the computer answers from (its domain's on a
// controller), and the estate's switch for the administration library of
// the computer the program runs on; for one session.
#include <string>

#include "estate/simulation.h"
#include "platform/remote_access.h"

namespace tabulon::estate {

class EstateRemoteAccess final : public platform::RemoteAccess {
 public:
  EstateRemoteAccess(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  bool Available() override;
  platform::RasUserResult MprAdminUserGetInfo(std::string_view server, std::string_view user,
                                              std::uint32_t level) override;
  platform::RasUserResult RasAdminUserGetInfo(std::string_view server,
                                              std::string_view user) override;

 private:
  // Records the call and answers it from the account `user` of the
  // database `server` answers from. Without `has_library` the call fails
  // with ERROR_PROC_NOT_FOUND; `level_ok` false answers ERROR_INVALID_LEVEL
  // once the computer is reached.
  platform::RasUserResult Lookup(Operation op, std::string_view server, std::string_view user,
                                 bool has_library, bool level_ok, const std::string& detail);

  Simulation& sim_;
  const platform::SessionOptions& session_;
};

}  // namespace tabulon::estate
