#include "estate/user_modals.h"

#include "estate/user_accounts.h"

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

platform::UserModals2Result EstateUserModals::NetUserModalsGet2(std::string_view server) {
  platform::UserModals2Result result;
  const Computer* computer = Reach(server, 2, result.status);
  if (computer == nullptr) return result;
  // A controller answers from its domain's database, any other computer
  // from its own.
  const Domain* domain =
      IsController(sim_.estate(), *computer) ? sim_.estate().DomainOf(*computer) : nullptr;
  const std::optional<platform::Sid>& sid = domain != nullptr ? domain->sid : computer->sid;
  if (!sid) {
    // The estate gives the database no SID to answer with.
    result.status = win::ERROR_NO_SUCH_DOMAIN;
    return result;
  }
  result.domain_name = domain != nullptr ? domain->name : computer->name;
  result.domain_id = *sid;
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
