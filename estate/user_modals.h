#pragma once
// NetUserModalsGet answered from the estate: a computer's password and
// lockout settings (levels 0 and 3), and the domain name and SID of the
// account database it answers from (level 2).
#include "estate/simulation.h"
#include "platform/user_modals.h"

namespace tabulon::estate {

class EstateUserModals final : public platform::UserModals {
 public:
  EstateUserModals(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  platform::UserModals0Result NetUserModalsGet0(std::string_view server) override;
  platform::UserModals2Result NetUserModalsGet2(std::string_view server) override;
  platform::UserModals3Result NetUserModalsGet3(std::string_view server) override;

 private:
  // Records the call and reaches `server`: the computer, or null with
  // `status` set.
  const Computer* Reach(std::string_view server, std::uint32_t level, win::Status& status);

  Simulation& sim_;
  const platform::SessionOptions& session_;
};

}  // namespace tabulon::estate
