// The families a Linux build reaches on the estate only: terminal services,
// the schedule service and remote access. Elsewhere they are refused.
#include <gtest/gtest.h>

#include "contract/contract.h"

namespace tabulon::testing::contract {
namespace {

template <typename Backend>
class WindowsLibrariesContract : public Contract<Backend> {};
TYPED_TEST_SUITE_P(WindowsLibrariesContract);

TYPED_TEST_P(WindowsLibrariesContract, TerminalServerHandlesAndArguments) {
  CONTRACT_FAMILY(facts, serving, terminal);
  platform::TerminalServices& terminal = this->session().terminal();
  const platform::TerminalServerResult server = terminal.OpenServer(facts.server);
  if (Refused(serving, server)) return;
  ASSERT_EQ(server.status, win::ERROR_SUCCESS);
  EXPECT_EQ(terminal.EnumerateSessions(server.handle, 0, 1).status, win::ERROR_SUCCESS);
  EXPECT_EQ(terminal.EnumerateSessions(server.handle, 1, 1).status, win::ERROR_INVALID_PARAMETER);
  EXPECT_EQ(terminal.EnumerateProcesses(server.handle, 0, 2).status, win::ERROR_INVALID_PARAMETER);
  EXPECT_EQ(terminal.QueryUserConfig(facts.server, "nobody-here", 0).status,
            win::NERR_UserNotFound);
  terminal.CloseServer(server.handle);
  EXPECT_EQ(terminal.EnumerateSessions(server.handle, 0, 1).status, win::ERROR_INVALID_HANDLE);
}

TYPED_TEST_P(WindowsLibrariesContract, ScheduledJobsReadInPieces) {
  CONTRACT_FAMILY(facts, serving, schedule);
  platform::ScheduleService& schedule = this->session().schedule();
  if (Refused(serving,
              schedule.NetScheduleJobEnum(facts.server, platform::kMaxPreferredLength, 0))) {
    return;
  }
  const std::vector<std::string> commands = ExpectPagesMakeTheWhole(
      [&](std::uint32_t length, std::uint32_t resume) {
        return schedule.NetScheduleJobEnum(facts.server, length, resume);
      },
      [](const platform::AtEnum& job) { return job.command; });
  EXPECT_GE(commands.size(), 2u);
}

TYPED_TEST_P(WindowsLibrariesContract, DialInPermissionsOfAccounts) {
  CONTRACT_FAMILY(facts, serving, remote_access);
  platform::RemoteAccess& remote = this->session().remote_access();
  const platform::RasUserResult user = remote.MprAdminUserGetInfo(facts.server, facts.name, 0);
  if (Refused(serving, user)) return;
  EXPECT_EQ(user.status, win::ERROR_SUCCESS);
  EXPECT_EQ(remote.MprAdminUserGetInfo(facts.server, facts.name, 1).status,
            win::ERROR_INVALID_LEVEL);
  EXPECT_EQ(remote.MprAdminUserGetInfo(facts.server, "nobody-here", 0).status,
            win::NERR_UserNotFound);
  EXPECT_EQ(remote.RasAdminUserGetInfo(facts.server, "nobody-here").status, win::NERR_UserNotFound);
}

REGISTER_TYPED_TEST_SUITE_P(WindowsLibrariesContract, TerminalServerHandlesAndArguments,
                            ScheduledJobsReadInPieces, DialInPermissionsOfAccounts);
INSTANTIATE_TYPED_TEST_SUITE_P(Every, WindowsLibrariesContract, Backends);

}  // namespace
}  // namespace tabulon::testing::contract
