#pragma once
// Terminal services of a computer, after the wtsapi32 functions and the
// window-station query of winsta. Records come back as values instead of
// buffers to free. Both libraries are optional on the computer the program
// runs on: `Libraries()` says what the start-up probe found, and exports
// that need a missing one report it themselves.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/security.h"
#include "platform/status.h"
#include "platform/time.h"

namespace tabulon::platform {

using TerminalServerHandle = std::uint64_t;  // 0 is no handle

// What the probe of the optional libraries found.
struct TerminalServicesLibraries {
  // WTSAPI32 with every function the exports call.
  bool terminal_services = false;
  // WinStationQueryInformationW of WINSTA; probed only when the above is
  // there, so it is never true without it.
  bool window_station = false;
};

// WTS_INFO_CLASS values the exports query.
inline constexpr std::uint32_t kWtsInitialProgram = 0;
inline constexpr std::uint32_t kWtsApplicationName = 1;
inline constexpr std::uint32_t kWtsWorkingDirectory = 2;
inline constexpr std::uint32_t kWtsOemId = 3;
inline constexpr std::uint32_t kWtsSessionId = 4;
inline constexpr std::uint32_t kWtsUserName = 5;
inline constexpr std::uint32_t kWtsWinStationName = 6;
inline constexpr std::uint32_t kWtsDomainName = 7;
inline constexpr std::uint32_t kWtsConnectState = 8;
inline constexpr std::uint32_t kWtsClientBuildNumber = 9;
inline constexpr std::uint32_t kWtsClientName = 10;
inline constexpr std::uint32_t kWtsClientDirectory = 11;
inline constexpr std::uint32_t kWtsClientProductId = 12;
inline constexpr std::uint32_t kWtsClientHardwareId = 13;
inline constexpr std::uint32_t kWtsClientAddress = 14;
inline constexpr std::uint32_t kWtsClientDisplay = 15;
inline constexpr std::uint32_t kWtsClientProtocolType = 16;
inline constexpr std::uint32_t kWtsLastInfoClass = kWtsClientProtocolType;

// WTS_CONNECTSTATE_CLASS.
inline constexpr std::uint32_t kWtsActive = 0;
inline constexpr std::uint32_t kWtsConnected = 1;
inline constexpr std::uint32_t kWtsConnectQuery = 2;
inline constexpr std::uint32_t kWtsShadow = 3;
inline constexpr std::uint32_t kWtsDisconnected = 4;
inline constexpr std::uint32_t kWtsIdle = 5;
inline constexpr std::uint32_t kWtsListen = 6;
inline constexpr std::uint32_t kWtsReset = 7;
inline constexpr std::uint32_t kWtsDown = 8;
inline constexpr std::uint32_t kWtsInit = 9;

// Address families of WTS_CLIENT_ADDRESS.
inline constexpr std::uint32_t kAfUnspec = 0;
inline constexpr std::uint32_t kAfInet = 2;
inline constexpr std::uint32_t kAfIpx = 6;
inline constexpr std::uint32_t kAfNetbios = 17;
inline constexpr std::uint32_t kAfInet6 = 23;

// WTS_CONFIG_CLASS runs from 0 (initial program) to 18 (home directory
// flag); these classes answer text, the others a 32-bit number.
inline constexpr std::uint32_t kWtsUserConfigClassCount = 19;
inline constexpr bool IsTextUserConfigClass(std::uint32_t config_class) {
  return config_class == 0 || config_class == 1 || config_class == 13 ||
         (config_class >= 15 && config_class <= 17);
}

// WinStationQueryInformationW class 8 and the size of its record.
inline constexpr std::uint32_t kWinStationInformation = 8;
inline constexpr std::uint32_t kWinStationInformationSize = 1216;

// WTS_SESSION_INFOW.
struct WtsSessionInfo {
  std::uint32_t session_id = 0;
  std::string win_station_name;
  std::uint32_t state = 0;  // WTS_CONNECTSTATE_CLASS
};

// WTS_PROCESS_INFOW.
struct WtsProcessInfo {
  std::uint32_t session_id = 0;
  std::uint32_t process_id = 0;
  std::string process_name;
  std::optional<Sid> user_sid;  // none: a null pUserSid
};

// WTS_CLIENT_DISPLAY.
struct WtsClientDisplay {
  std::uint32_t horizontal_resolution = 0;
  std::uint32_t vertical_resolution = 0;
  std::uint32_t color_depth = 0;  // 1, 2, 4, 8 or 16
};

// WTS_CLIENT_ADDRESS: an IPv4 address sits in bytes 2 to 5, an IPv6
// address in bytes 0 to 15.
struct WtsClientAddress {
  std::uint32_t address_family = kAfUnspec;
  std::array<std::uint8_t, 20> address{};
};

// The times of WINSTATIONINFORMATION, UTC file times; 0 is none.
struct WinStationTimes {
  FileTime connect_time = 0;
  FileTime disconnect_time = 0;
  FileTime last_input_time = 0;
  FileTime logon_time = 0;
  FileTime current_time = 0;  // the server's clock at the query
};

struct TerminalServerResult {
  win::Status status = win::ERROR_SUCCESS;
  TerminalServerHandle handle = 0;
};

struct SessionListResult {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<WtsSessionInfo> sessions;
};

struct ProcessListResult {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<WtsProcessInfo> processes;
};

// What WTSQuerySessionInformationW leaves in its buffer. The class decides
// which member holds the answer: text classes `text`; client build, hardware
// id, product id, protocol type, session id and connect state `number`;
// client display `display`; client address `address`.
struct SessionInformation {
  win::Status status = win::ERROR_SUCCESS;
  // As Windows counts them: a UTF-16 text with its terminator, 4 for a
  // ULONG, 2 for a USHORT, 12 for the display and 24 for the address
  // record. A session may answer a class with no bytes at all.
  std::uint32_t bytes_returned = 0;
  std::string text;
  std::uint32_t number = 0;
  WtsClientDisplay display;
  WtsClientAddress address;
};

// WTSQueryUserConfigW: a text class gives `text`, any other `number`.
struct UserConfigResult {
  win::Status status = win::ERROR_SUCCESS;
  std::uint32_t bytes_returned = 0;
  std::string text;
  std::uint32_t number = 0;
};

struct WinStationInformationResult {
  win::Status status = win::ERROR_SUCCESS;
  std::uint32_t returned_length = 0;
  WinStationTimes times;
};

class TerminalServices {
 public:
  virtual ~TerminalServices() = default;

  // What the computer the program runs on offers. Calls into a library that
  // is not there fail with a Windows status instead of answering.
  virtual TerminalServicesLibraries Libraries() = 0;

  // WTSOpenServerW; no handle and a status when it fails.
  virtual TerminalServerResult OpenServer(std::string_view server_name) = 0;
  // WTSCloseServer.
  virtual void CloseServer(TerminalServerHandle server) = 0;
  // WTSEnumerateSessionsW; `reserved` must be 0 and `version` 1.
  virtual SessionListResult EnumerateSessions(TerminalServerHandle server, std::uint32_t reserved,
                                              std::uint32_t version) = 0;
  // WTSEnumerateProcessesW; `reserved` must be 0 and `version` 1.
  virtual ProcessListResult EnumerateProcesses(TerminalServerHandle server, std::uint32_t reserved,
                                               std::uint32_t version) = 0;
  // WTSQuerySessionInformationW for one WTS_INFO_CLASS.
  virtual SessionInformation QuerySessionInformation(TerminalServerHandle server,
                                                     std::uint32_t session_id,
                                                     std::uint32_t info_class) = 0;
  // WTSQueryUserConfigW for one WTS_CONFIG_CLASS of an account on a server.
  virtual UserConfigResult QueryUserConfig(std::string_view server_name, std::string_view user_name,
                                           std::uint32_t config_class) = 0;
  // WinStationQueryInformationW into a buffer of `buffer_length` bytes;
  // only class 8 (WINSTATIONINFORMATION) is modelled.
  virtual WinStationInformationResult WinStationQueryInformation(TerminalServerHandle server,
                                                                 std::uint32_t session_id,
                                                                 std::uint32_t info_class,
                                                                 std::uint32_t buffer_length) = 0;
};

}  // namespace tabulon::platform
