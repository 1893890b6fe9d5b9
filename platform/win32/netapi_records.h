#pragma once
// The network management records of NetAPI32 as our value structs, one
// function per record so that a test can hand in records made as the API
// makes them. Strings are read to a bound; a NULL string is empty.
#include <string>
#include <vector>

// Before <windows.h>, whose macros take the status names.
#include "platform/netapi.h"
#include "platform/schedule_service.h"

#include <windows.h>

#include <lm.h>
#include <lmat.h>

namespace tabulon::platform::win32 {

// A self-relative security descriptor that passes IsValidSecurityDescriptor
// is larger than no share's needs; a larger one is dropped.
inline constexpr std::size_t kMaxShareDescriptorBytes = 64 * 1024;

ServerInfo101 ServerInfoOf(const SERVER_INFO_101& info);
ShareInfo ShareInfoOf(const SHARE_INFO_1& info);
ShareInfo ShareInfoOf(const SHARE_INFO_502& info);
ConnectionInfo1 ConnectionInfoOf(const CONNECTION_INFO_1& info);
SessionInfo SessionInfoOf(const SESSION_INFO_1& info);
SessionInfo SessionInfoOf(const SESSION_INFO_502& info);
FileInfo3 FileInfoOf(const FILE_INFO_3& info);
WkstaTransportInfo0 TransportInfoOf(const WKSTA_TRANSPORT_INFO_0& info);
DisplayMachine DisplayMachineOf(const NET_DISPLAY_MACHINE& info);
AtEnum AtEnumOf(const AT_ENUM& job);

// The drives of a NetServerDiskEnum buffer of `bytes` bytes: `count` entries
// of three UTF-16 units ("C:" and its terminator), cut to what the buffer
// holds.
std::vector<std::string> ServerDisksOf(const void* buffer, std::size_t bytes, std::uint32_t count);

}  // namespace tabulon::platform::win32
