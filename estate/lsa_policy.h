#pragma once
// The local security authority of estate computers, for one session: the
// rights their policy grants, their audit policy and the privilege display
// names. Policy handles live in the session's table, so that what a session
// left open can be counted when it closes. Injected failures are given as
// Windows errors and reported as the NTSTATUS an LSA call would return.
#include <cstddef>
#include <string>
#include <vector>

#include "estate/handle_table.h"
#include "estate/simulation.h"
#include "platform/lsa_policy.h"

namespace tabulon::estate {

class EstateLsaPolicy final : public platform::LsaPolicy {
 public:
  EstateLsaPolicy(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  platform::LsaOpenResult OpenPolicy(std::string_view system, std::uint32_t access) override;
  // Local bookkeeping: closing works even after the session was cancelled.
  nt::Status Close(platform::LsaHandle policy) override;
  platform::AccountsWithRightResult EnumerateAccountsWithUserRight(platform::LsaHandle policy,
                                                                   std::string_view right) override;
  platform::AuditEventsResult QueryAuditEvents(platform::LsaHandle policy,
                                               std::uint32_t information_class) override;
  platform::PrivilegeDisplayNameResult LookupPrivilegeDisplayName(
      std::string_view system, std::string_view name, std::uint32_t buffer_chars) override;

  std::size_t OpenHandleCount() const { return handles_.Count(); }
  // "policy \\NAME" per open handle.
  std::vector<std::string> DescribeOpenHandles() const;

 private:
  struct HandleState {
    const Computer* computer = nullptr;
    std::uint32_t access = 0;
    std::string host;  // the system as passed to OpenPolicy
  };

  // Records a call through `policy` and reaches its computer: the handle's
  // state, or null with `status` set when the call cannot go on.
  template <typename DetailFn>
  const HandleState* Reach(Operation op, platform::LsaHandle policy, std::uint32_t needed_access,
                           DetailFn&& detail, nt::Status& status);

  Simulation& sim_;
  const platform::SessionOptions& session_;
  HandleTable<HandleState> handles_{0x3000};
};

}  // namespace tabulon::estate
