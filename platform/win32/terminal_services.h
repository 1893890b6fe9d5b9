#pragma once
// Terminal services through wtsapi32 and winsta, both loaded when the
// session starts: either may be missing on this computer, and a call into
// one that is not there fails with ERROR_PROC_NOT_FOUND. Server handles are
// numbered in the session; an empty server name is this computer, served
// through the API's handle for the current server, which needs no opening.
#include <cstdint>
#include <map>
#include <memory>
#include <string_view>

#include "platform/bounded_calls.h"
#include "platform/terminal_services.h"

namespace tabulon::platform::win32 {

class Win32TerminalServices final : public TerminalServices {
 public:
  explicit Win32TerminalServices(BoundedCalls& calls);
  ~Win32TerminalServices() override;
  Win32TerminalServices(const Win32TerminalServices&) = delete;
  Win32TerminalServices& operator=(const Win32TerminalServices&) = delete;

  TerminalServicesLibraries Libraries() override;
  TerminalServerResult OpenServer(std::string_view server_name) override;
  void CloseServer(TerminalServerHandle server) override;
  SessionListResult EnumerateSessions(TerminalServerHandle server, std::uint32_t reserved,
                                      std::uint32_t version) override;
  ProcessListResult EnumerateProcesses(TerminalServerHandle server, std::uint32_t reserved,
                                       std::uint32_t version) override;
  SessionInformation QuerySessionInformation(TerminalServerHandle server, std::uint32_t session_id,
                                             std::uint32_t info_class) override;
  UserConfigResult QueryUserConfig(std::string_view server_name, std::string_view user_name,
                                   std::uint32_t config_class) override;
  WinStationInformationResult WinStationQueryInformation(TerminalServerHandle server,
                                                         std::uint32_t session_id,
                                                         std::uint32_t info_class,
                                                         std::uint32_t buffer_length) override;

  // The functions of both libraries; shared with the calls, so that a call
  // given up on keeps the libraries loaded until it returns.
  struct Api;

 private:
  // The API's handle of `server`, or a status: no library, no such number.
  win::Status Find(TerminalServerHandle server, bool needs_window_station, void*& handle) const;

  BoundedCalls& calls_;
  std::shared_ptr<const Api> api_;
  std::map<TerminalServerHandle, void*> servers_;
  TerminalServerHandle next_ = 1;
};

}  // namespace tabulon::platform::win32
