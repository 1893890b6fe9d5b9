#pragma once
// Terminal services answered from the estate: the sessions, processes and
// user settings of each computer, and the estate's switch for the optional
// libraries of the computer the program runs on; for one session. Server
// handles live in the session's table, so that what a session left open can
// be counted when it closes.
#include <cstddef>
#include <string>
#include <vector>

#include "estate/handle_table.h"
#include "estate/simulation.h"
#include "platform/terminal_services.h"

namespace tabulon::estate {

class EstateTerminalServices final : public platform::TerminalServices {
 public:
  EstateTerminalServices(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  platform::TerminalServicesLibraries Libraries() override;
  platform::TerminalServerResult OpenServer(std::string_view server_name) override;
  // Local bookkeeping: closing works even after the session was cancelled.
  void CloseServer(platform::TerminalServerHandle server) override;
  platform::SessionListResult EnumerateSessions(platform::TerminalServerHandle server,
                                                std::uint32_t reserved,
                                                std::uint32_t version) override;
  platform::ProcessListResult EnumerateProcesses(platform::TerminalServerHandle server,
                                                 std::uint32_t reserved,
                                                 std::uint32_t version) override;
  platform::SessionInformation QuerySessionInformation(platform::TerminalServerHandle server,
                                                       std::uint32_t session_id,
                                                       std::uint32_t info_class) override;
  platform::UserConfigResult QueryUserConfig(std::string_view server_name,
                                             std::string_view user_name,
                                             std::uint32_t config_class) override;
  platform::WinStationInformationResult WinStationQueryInformation(
      platform::TerminalServerHandle server, std::uint32_t session_id, std::uint32_t info_class,
      std::uint32_t buffer_length) override;

  std::size_t OpenHandleCount() const { return handles_.Count(); }
  // "terminal server NAME" per open handle, NAME as passed to OpenServer.
  std::vector<std::string> DescribeOpenHandles() const;

 private:
  struct HandleState {
    // Null when the name reaches no computer: opening is local and always
    // works, the first call through the handle fails.
    const Computer* computer = nullptr;
    std::string host;
  };

  // Records a call through `server` and reaches the computer behind it: the
  // handle's state, or null with `status` set when the call cannot go on
  // (ERROR_PROC_NOT_FOUND without the library the call needs,
  // ERROR_INVALID_HANDLE, RPC_S_SERVER_UNAVAILABLE, an injected failure).
  template <typename DetailFn>
  const HandleState* Reach(Operation op, platform::TerminalServerHandle server, bool has_library,
                           DetailFn&& detail, win::Status& status);

  Simulation& sim_;
  const platform::SessionOptions& session_;
  HandleTable<HandleState> handles_{0x2000};
};

}  // namespace tabulon::estate
