#pragma once
// The Windows status of what the client library reported. One function, so
// that the full mapping table can replace it without touching its callers.
#include <cstdint>

#include "platform/status.h"

namespace tabulon::platform::samba {

// `nt_status` is the library's NTSTATUS; `fault` the fault code of a fault
// PDU (0 when the server sent none), which wins when present.
win::Status StatusFromSamba(std::uint32_t nt_status, std::uint32_t fault);

// The Windows status of the file client's errno; `missing` is what "no such
// entry" stands for where it was asked: the library says so both for a share
// the server does not offer and for a missing directory or file.
win::Status StatusFromFileClient(std::uint32_t error, win::Status missing);

// NTSTATUS values the worker itself answers with.
inline constexpr std::uint32_t kNtStatusInvalidParameter = 0xC000000D;
inline constexpr std::uint32_t kNtStatusNoLogonServers = 0xC000005E;

// What a failed connect stands for when the credentials are Kerberos only:
// the library answers INVALID_PARAMETER when it cannot use Kerberos with the
// server at all (the realm has no principal for the name it was reached by,
// such as an address, or the server offers no Kerberos, as a standalone
// server does), which a Windows client reports as no authority that could
// authenticate it: NO_LOGON_SERVERS.
std::uint32_t KerberosConnectStatus(std::uint32_t nt_status);

}  // namespace tabulon::platform::samba
