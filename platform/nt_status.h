#pragma once
// NTSTATUS values, as the LSA functions return them instead of Windows
// errors, and LsaNtStatusToWinError between the two.
#include <cstdint>

#include "platform/status.h"

namespace tabulon::nt {

using Status = std::uint32_t;

inline constexpr Status STATUS_SUCCESS = 0x00000000;
inline constexpr Status STATUS_NO_MORE_ENTRIES = 0x8000001A;
inline constexpr Status STATUS_INVALID_INFO_CLASS = 0xC0000003;
inline constexpr Status STATUS_INVALID_HANDLE = 0xC0000008;
inline constexpr Status STATUS_INVALID_PARAMETER = 0xC000000D;
inline constexpr Status STATUS_ACCESS_DENIED = 0xC0000022;
inline constexpr Status STATUS_NO_SUCH_PRIVILEGE = 0xC0000060;
inline constexpr Status STATUS_NOT_SUPPORTED = 0xC00000BB;
inline constexpr Status STATUS_CANCELLED = 0xC0000120;
inline constexpr Status STATUS_IO_TIMEOUT = 0xC00000B5;
inline constexpr Status RPC_NT_SERVER_UNAVAILABLE = 0xC0020017;

// LsaNtStatusToWinError: the Windows error of a status; a status that
// carries a Windows error (facility 7) gives that error, one without a
// mapping ERROR_MR_MID_NOT_FOUND.
win::Status LsaNtStatusToWinError(Status status);

// The status an LSA call reports for a failure known by its Windows error:
// the inverse of the above, a Windows error carried in facility 7 where the
// table has no status of its own.
Status FromWinError(win::Status error);

}  // namespace tabulon::nt
