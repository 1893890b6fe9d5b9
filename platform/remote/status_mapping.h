#pragma once
// The Windows status a client would report for what the transport saw: an
// NTSTATUS from connecting, authenticating or opening the pipe, or the
// status of a DCE/RPC fault or reject.
#include <cstdint>

#include "platform/status.h"

namespace tabulon::platform::remote {

// The Windows error of an NTSTATUS (nt::MappedWinError), but a missing
// object (the pipe) is RPC_S_SERVER_UNAVAILABLE, and a status without a
// mapping RPC_S_CALL_FAILED.
win::Status StatusFromNtStatus(std::uint32_t ntstatus);

// The nca_s_* codes map as a Windows client maps them; other values are
// Win32 errors sent as they are (a server faults with 5 or 1783), unless
// they are unknown, which gives RPC_S_CALL_FAILED.
win::Status StatusFromDceFault(std::uint32_t fault);

}  // namespace tabulon::platform::remote
