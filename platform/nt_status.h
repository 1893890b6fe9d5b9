#pragma once
// NTSTATUS values, as the LSA functions return them instead of Windows
// errors, and LsaNtStatusToWinError between the two. Their names and texts
// are rows of the status list, next to the Windows statuses.
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/status.h"

namespace tabulon::nt {

using Status = std::uint32_t;

inline constexpr Status STATUS_SUCCESS = 0x00000000;
inline constexpr Status STATUS_NO_MORE_ENTRIES = 0x8000001A;
inline constexpr Status STATUS_INVALID_INFO_CLASS = win::STATUS_INVALID_INFO_CLASS;
inline constexpr Status STATUS_INVALID_HANDLE = win::STATUS_INVALID_HANDLE;
inline constexpr Status STATUS_INVALID_PARAMETER = win::STATUS_INVALID_PARAMETER;
inline constexpr Status STATUS_ACCESS_DENIED = win::STATUS_ACCESS_DENIED;
inline constexpr Status STATUS_NO_SUCH_PRIVILEGE = win::STATUS_NO_SUCH_PRIVILEGE;
inline constexpr Status STATUS_NOT_SUPPORTED = win::STATUS_NOT_SUPPORTED;
inline constexpr Status STATUS_CANCELLED = win::STATUS_CANCELLED;
inline constexpr Status STATUS_IO_TIMEOUT = win::STATUS_IO_TIMEOUT;
inline constexpr Status RPC_NT_SERVER_UNAVAILABLE = win::RPC_NT_SERVER_UNAVAILABLE;

// The Windows error of a status as Windows maps it; a status that carries a
// Windows error (facility 7) gives that error; nothing for any other.
std::optional<win::Status> MappedWinError(Status status);

// LsaNtStatusToWinError: the above, ERROR_MR_MID_NOT_FOUND for a status
// without a mapping.
win::Status LsaNtStatusToWinError(Status status);

// The status an LSA call reports for a failure known by its Windows error:
// the inverse of the above, a Windows error carried in facility 7 where the
// table has no status of its own.
Status FromWinError(win::Status error);

// The status's own message text, or for a status that carries a Windows
// error (facility 7) that error's text; empty for a status the list does not
// know.
std::string_view StatusText(Status status);

}  // namespace tabulon::nt
