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

}  // namespace tabulon::platform::samba
