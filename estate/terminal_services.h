#pragma once
// Terminal services answered from the estate: the sessions, processes and
// user settings of each computer, and the estate's switch for the optional
// libraries of the computer the program runs on. Server handles are tracked
// so that tests can check that every handle an exporter opened was closed.
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "estate/simulation.h"
#include "platform/terminal_services.h"

namespace tabulon::estate {

class EstateTerminalServices final : public platform::TerminalServices {
 public:
  explicit EstateTerminalServices(Simulation& simulation) : sim_(simulation) {}

  platform::TerminalServicesLibraries Libraries() override;
  platform::TerminalServerResult OpenServer(std::string_view server_name) override;
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

  std::size_t OpenHandleCount() const { return handles_.size(); }
  // The server name as passed to OpenServer, per open handle, for test
  // failure messages.
  std::vector<std::string> DescribeOpenHandles() const;

 private:
  struct HandleState {
    // Null when the name reaches no computer: opening is local and always
    // works, the first call through the handle fails.
    const Computer* computer = nullptr;
    std::string host;
  };

  // The handle's state, or null with `status` set when the call cannot go on.
  const HandleState* Reach(platform::TerminalServerHandle server, win::Status& status);

  Simulation& sim_;
  std::unordered_map<platform::TerminalServerHandle, HandleState> handles_;
  platform::TerminalServerHandle next_handle_ = 0x2000;
};

}  // namespace tabulon::estate
