#include "platform/nt_status.h"

#include <algorithm>
#include <array>

#include "platform/status_table.h"

namespace tabulon::nt {
namespace {

struct Mapping {
  Status status;
  win::Status error;
};

// The Windows error of each NTSTATUS the LSA calls and the SMB and RPC
// clients report, as Windows maps them; sorted by status. Where several
// statuses give one error, the first is the one that error turns back into.
constexpr std::array kMappings{
    Mapping{STATUS_SUCCESS, win::ERROR_SUCCESS},
    Mapping{0x00000105, win::ERROR_MORE_DATA},  // STATUS_MORE_ENTRIES
    Mapping{STATUS_NO_MORE_ENTRIES, win::ERROR_NO_MORE_ITEMS},
    Mapping{win::STATUS_INVALID_INFO_CLASS, win::ERROR_INVALID_PARAMETER},
    Mapping{win::STATUS_INVALID_HANDLE, win::ERROR_INVALID_HANDLE},
    Mapping{win::STATUS_INVALID_PARAMETER, win::ERROR_INVALID_PARAMETER},
    Mapping{win::STATUS_END_OF_FILE, win::ERROR_HANDLE_EOF},
    Mapping{win::STATUS_NO_MEMORY, win::ERROR_NOT_ENOUGH_MEMORY},
    Mapping{win::STATUS_ACCESS_DENIED, win::ERROR_ACCESS_DENIED},
    Mapping{win::STATUS_BUFFER_TOO_SMALL, win::ERROR_INSUFFICIENT_BUFFER},
    Mapping{win::STATUS_OBJECT_NAME_NOT_FOUND, win::ERROR_FILE_NOT_FOUND},
    Mapping{win::STATUS_NO_LOGON_SERVERS, win::ERROR_NO_LOGON_SERVERS},
    Mapping{win::STATUS_NO_SUCH_LOGON_SESSION, win::ERROR_NO_SUCH_LOGON_SESSION},
    Mapping{win::STATUS_NO_SUCH_PRIVILEGE, win::ERROR_NO_SUCH_PRIVILEGE},
    Mapping{win::STATUS_NO_SUCH_USER, win::ERROR_NO_SUCH_USER},
    Mapping{win::STATUS_NO_SUCH_GROUP, win::ERROR_NO_SUCH_GROUP},
    Mapping{win::STATUS_WRONG_PASSWORD, win::ERROR_INVALID_PASSWORD},
    Mapping{win::STATUS_LOGON_FAILURE, win::ERROR_LOGON_FAILURE},
    Mapping{win::STATUS_ACCOUNT_RESTRICTION, win::ERROR_ACCOUNT_RESTRICTION},
    Mapping{win::STATUS_INVALID_LOGON_HOURS, win::ERROR_INVALID_LOGON_HOURS},
    Mapping{win::STATUS_INVALID_WORKSTATION, win::ERROR_INVALID_WORKSTATION},
    Mapping{win::STATUS_PASSWORD_EXPIRED, win::ERROR_PASSWORD_EXPIRED},
    Mapping{win::STATUS_ACCOUNT_DISABLED, win::ERROR_ACCOUNT_DISABLED},
    Mapping{win::STATUS_NONE_MAPPED, win::ERROR_NONE_MAPPED},
    Mapping{win::STATUS_INVALID_SID, win::ERROR_INVALID_SID},
    Mapping{win::STATUS_PIPE_NOT_AVAILABLE, win::ERROR_PIPE_BUSY},
    Mapping{win::STATUS_PIPE_BUSY, win::ERROR_PIPE_BUSY},
    Mapping{win::STATUS_PIPE_DISCONNECTED, win::ERROR_PIPE_NOT_CONNECTED},
    Mapping{win::STATUS_IO_TIMEOUT, win::ERROR_SEM_TIMEOUT},
    Mapping{win::STATUS_NOT_SUPPORTED, win::ERROR_NOT_SUPPORTED},
    Mapping{win::STATUS_BAD_NETWORK_PATH, win::ERROR_BAD_NETPATH},
    Mapping{win::STATUS_UNEXPECTED_NETWORK_ERROR, win::ERROR_UNEXP_NET_ERR},
    Mapping{win::STATUS_NETWORK_NAME_DELETED, win::ERROR_NETNAME_DELETED},
    Mapping{win::STATUS_NETWORK_ACCESS_DENIED, win::ERROR_NETWORK_ACCESS_DENIED},
    Mapping{win::STATUS_BAD_NETWORK_NAME, win::ERROR_BAD_NET_NAME},
    Mapping{win::STATUS_NO_SUCH_DOMAIN, win::ERROR_NO_SUCH_DOMAIN},
    Mapping{win::STATUS_CANCELLED, win::ERROR_CANCELLED},
    Mapping{win::STATUS_TIME_DIFFERENCE_AT_DC, win::ERROR_TIME_SKEW},
    Mapping{win::STATUS_PIPE_BROKEN, win::ERROR_BROKEN_PIPE},
    Mapping{win::STATUS_NO_SUCH_ALIAS, win::ERROR_NO_SUCH_ALIAS},
    Mapping{win::STATUS_LOGON_TYPE_NOT_GRANTED, win::ERROR_LOGON_TYPE_NOT_GRANTED},
    Mapping{win::STATUS_CONNECTION_DISCONNECTED, win::ERROR_NETNAME_DELETED},
    Mapping{win::STATUS_CONNECTION_RESET, win::ERROR_NETNAME_DELETED},
    Mapping{win::STATUS_PASSWORD_MUST_CHANGE, win::ERROR_PASSWORD_MUST_CHANGE},
    Mapping{win::STATUS_ACCOUNT_LOCKED_OUT, win::ERROR_ACCOUNT_LOCKED_OUT},
    Mapping{win::STATUS_CONNECTION_REFUSED, win::ERROR_CONNECTION_REFUSED},
    Mapping{win::STATUS_NETWORK_UNREACHABLE, win::ERROR_NETWORK_UNREACHABLE},
    Mapping{win::STATUS_HOST_UNREACHABLE, win::ERROR_HOST_UNREACHABLE},
    Mapping{win::STATUS_CONNECTION_ABORTED, win::ERROR_CONNECTION_ABORTED},
    Mapping{win::RPC_NT_UNKNOWN_IF, win::RPC_S_UNKNOWN_IF},
    Mapping{win::RPC_NT_SERVER_UNAVAILABLE, win::RPC_S_SERVER_UNAVAILABLE},
    Mapping{win::RPC_NT_SERVER_TOO_BUSY, win::RPC_S_SERVER_TOO_BUSY},
    Mapping{win::RPC_NT_CALL_FAILED, win::RPC_S_CALL_FAILED},
    Mapping{win::RPC_NT_CALL_FAILED_DNE, win::RPC_S_CALL_FAILED_DNE},
    Mapping{win::RPC_NT_PROTOCOL_ERROR, win::RPC_S_PROTOCOL_ERROR},
    Mapping{win::RPC_NT_UNSUPPORTED_TYPE, win::RPC_S_UNSUPPORTED_TYPE},
    Mapping{win::RPC_NT_INVALID_BOUND, win::RPC_S_INVALID_BOUND},
    Mapping{win::RPC_NT_PROCNUM_OUT_OF_RANGE, win::RPC_S_PROCNUM_OUT_OF_RANGE},
    Mapping{win::RPC_NT_CALL_CANCELLED, win::RPC_S_CALL_CANCELLED},
    Mapping{win::RPC_NT_COMM_FAILURE, win::RPC_S_COMM_FAILURE},
    Mapping{win::RPC_NT_SEC_PKG_ERROR, win::RPC_S_SEC_PKG_ERROR},
    Mapping{win::RPC_NT_SS_CONTEXT_MISMATCH, win::ERROR_INVALID_HANDLE},
    Mapping{win::RPC_NT_NULL_REF_POINTER, win::RPC_X_NULL_REF_POINTER},
    Mapping{win::RPC_NT_ENUM_VALUE_OUT_OF_RANGE, win::RPC_X_ENUM_VALUE_OUT_OF_RANGE},
    Mapping{win::RPC_NT_BYTE_COUNT_TOO_SMALL, win::RPC_X_BYTE_COUNT_TOO_SMALL},
    Mapping{win::RPC_NT_BAD_STUB_DATA, win::RPC_X_BAD_STUB_DATA},
};

constexpr bool SortedByStatus() {
  for (std::size_t i = 1; i < kMappings.size(); ++i) {
    if (kMappings[i - 1].status >= kMappings[i].status) return false;
  }
  return true;
}
static_assert(SortedByStatus(), "the mappings must stay sorted by status, one row a status");

constexpr Status kWin32Facility = 0xC0070000;
constexpr Status kFacilityMask = 0xFFFF0000;

const Mapping* Find(Status status) {
  const auto* it = std::lower_bound(kMappings.begin(), kMappings.end(), status,
                                    [](const Mapping& row, Status s) { return row.status < s; });
  return it != kMappings.end() && it->status == status ? it : nullptr;
}

}  // namespace

std::optional<win::Status> MappedWinError(Status status) {
  if (const Mapping* row = Find(status)) return row->error;
  if ((status & kFacilityMask) == kWin32Facility) return status & ~kFacilityMask;
  return std::nullopt;
}

win::Status LsaNtStatusToWinError(Status status) {
  return MappedWinError(status).value_or(win::ERROR_MR_MID_NOT_FOUND);
}

Status FromWinError(win::Status error) {
  for (const Mapping& m : kMappings) {
    if (m.error == error) return m.status;
  }
  return kWin32Facility | (error & ~kFacilityMask);
}

std::string_view StatusText(Status status) {
  if (const win::StatusRow* row = win::FindStatus(status)) return row->text;
  if ((status & kFacilityMask) == kWin32Facility) {
    if (const win::StatusRow* row = win::FindStatus(status & ~kFacilityMask)) return row->text;
  }
  return {};
}

}  // namespace tabulon::nt
