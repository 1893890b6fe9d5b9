#include "estate/user_modals.h"

namespace tabulon::estate {

const Computer* EstateUserModals::Reach(std::string_view server, std::uint32_t level,
                                        win::Status& status) {
  const Computer* computer = sim_.estate().FindServer(server);
  status = sim_.Reach(
      session_, Operation::kNetUserModalsGet, server,
      [&] { return "level=" + std::to_string(level); }, sim_.ToComputer(computer),
      win::RPC_S_SERVER_UNAVAILABLE);
  return status == win::ERROR_SUCCESS ? computer : nullptr;
}

platform::UserModals0Result EstateUserModals::NetUserModalsGet0(std::string_view server) {
  platform::UserModals0Result result;
  if (const Computer* computer = Reach(server, 0, result.status)) {
    result.info = computer->policy.passwords;
  }
  return result;
}

platform::UserModals3Result EstateUserModals::NetUserModalsGet3(std::string_view server) {
  platform::UserModals3Result result;
  if (const Computer* computer = Reach(server, 3, result.status)) {
    result.info = computer->policy.lockout;
  }
  return result;
}

}  // namespace tabulon::estate
