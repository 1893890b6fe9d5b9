#pragma once
// What the wtsapi32 and winsta calls leave in the buffers they allocate,
// turned into the family's values. The records come from the server the
// handle names, so counts, lengths and SIDs are bounded here; the buffers
// are the API's, so the caller frees them.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/status.h"
#include "platform/terminal_services.h"

namespace tabulon::platform::win32 {

// More than a server can have: a larger count is a broken answer.
inline constexpr std::uint32_t kMaxWtsSessions = 0x10000;
inline constexpr std::uint32_t kMaxWtsProcesses = 0x100000;
// Longest station or process name read; a longer one is cut there.
inline constexpr std::size_t kMaxWtsNameChars = 1024;

// `count` WTS_SESSION_INFOW records at `records`.
win::Status DecodeSessions(const void* records, std::uint32_t count,
                           std::vector<WtsSessionInfo>& sessions);
// `count` WTS_PROCESS_INFOW records at `records`; a SID that is not one
// fails the list.
win::Status DecodeProcesses(const void* records, std::uint32_t count,
                            std::vector<WtsProcessInfo>& processes);
// The `bytes` bytes WTSQuerySessionInformationW answered for `info_class`
// (at most kWtsLastInfoClass); fewer than the class's record holds, other
// than none at all, is ERROR_INVALID_DATA.
SessionInformation DecodeSessionInformation(std::uint32_t info_class, const void* buffer,
                                            std::uint32_t bytes);
// The `bytes` bytes WTSQueryUserConfigW answered for `config_class`.
UserConfigResult DecodeUserConfig(std::uint32_t config_class, const void* buffer,
                                  std::uint32_t bytes);
// The times of the WINSTATIONINFORMATION record at the start of `buffer`,
// of which the call said it filled `returned_length` bytes.
WinStationInformationResult DecodeWinStationInformation(std::span<const std::uint8_t> buffer,
                                                        std::uint32_t returned_length);

}  // namespace tabulon::platform::win32
