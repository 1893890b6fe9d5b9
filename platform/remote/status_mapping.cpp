#include "platform/remote/status_mapping.h"

#include <algorithm>
#include <span>

#include "platform/status_table.h"

namespace tabulon::platform::remote {
namespace {

struct StatusMapping {
  std::uint32_t from;
  win::Status to;
};

constexpr StatusMapping kNtStatuses[] = {
    {0x00000000, win::ERROR_SUCCESS},
    {0x00000105, win::ERROR_MORE_DATA},            // STATUS_MORE_ENTRIES
    {0x8000001A, win::ERROR_NO_MORE_ITEMS},        // STATUS_NO_MORE_ENTRIES
    {0xC0000003, win::ERROR_INVALID_PARAMETER},    // STATUS_INVALID_INFO_CLASS
    {0xC0000008, win::ERROR_INVALID_HANDLE},       // STATUS_INVALID_HANDLE
    {0xC000000D, win::ERROR_INVALID_PARAMETER},    // STATUS_INVALID_PARAMETER
    {0xC0000017, win::ERROR_NOT_ENOUGH_MEMORY},    // STATUS_NO_MEMORY
    {0xC0000022, win::ERROR_ACCESS_DENIED},        // STATUS_ACCESS_DENIED
    {0xC0000023, win::ERROR_INSUFFICIENT_BUFFER},  // STATUS_BUFFER_TOO_SMALL
    // A pipe that is not there is a service that is not running: the RPC
    // runtime reports the server as unavailable.
    {0xC0000034, win::RPC_S_SERVER_UNAVAILABLE},       // STATUS_OBJECT_NAME_NOT_FOUND
    {0xC000005E, win::ERROR_NO_LOGON_SERVERS},         // STATUS_NO_LOGON_SERVERS
    {0xC0000060, win::ERROR_NO_SUCH_PRIVILEGE},        // STATUS_NO_SUCH_PRIVILEGE
    {0xC0000064, win::ERROR_NO_SUCH_USER},             // STATUS_NO_SUCH_USER
    {0xC0000066, win::ERROR_NO_SUCH_GROUP},            // STATUS_NO_SUCH_GROUP
    {0xC000006A, win::ERROR_INVALID_PASSWORD},         // STATUS_WRONG_PASSWORD
    {0xC000006D, win::ERROR_LOGON_FAILURE},            // STATUS_LOGON_FAILURE
    {0xC000006E, win::ERROR_ACCOUNT_RESTRICTION},      // STATUS_ACCOUNT_RESTRICTION
    {0xC000006F, win::ERROR_INVALID_LOGON_HOURS},      // STATUS_INVALID_LOGON_HOURS
    {0xC0000070, win::ERROR_INVALID_WORKSTATION},      // STATUS_INVALID_WORKSTATION
    {0xC0000071, win::ERROR_PASSWORD_EXPIRED},         // STATUS_PASSWORD_EXPIRED
    {0xC0000072, win::ERROR_ACCOUNT_DISABLED},         // STATUS_ACCOUNT_DISABLED
    {0xC0000073, win::ERROR_NONE_MAPPED},              // STATUS_NONE_MAPPED
    {0xC0000078, win::ERROR_INVALID_SID},              // STATUS_INVALID_SID
    {0xC00000AC, win::ERROR_PIPE_BUSY},                // STATUS_PIPE_NOT_AVAILABLE
    {0xC00000AE, win::ERROR_PIPE_BUSY},                // STATUS_PIPE_BUSY
    {0xC00000B0, win::ERROR_PIPE_NOT_CONNECTED},       // STATUS_PIPE_DISCONNECTED
    {0xC00000B5, win::ERROR_SEM_TIMEOUT},              // STATUS_IO_TIMEOUT
    {0xC00000BB, win::ERROR_NOT_SUPPORTED},            // STATUS_NOT_SUPPORTED
    {0xC00000BE, win::ERROR_BAD_NETPATH},              // STATUS_BAD_NETWORK_PATH
    {0xC00000C4, win::ERROR_UNEXP_NET_ERR},            // STATUS_UNEXPECTED_NETWORK_ERROR
    {0xC00000C9, win::ERROR_NETNAME_DELETED},          // STATUS_NETWORK_NAME_DELETED
    {0xC00000CA, win::ERROR_NETWORK_ACCESS_DENIED},    // STATUS_NETWORK_ACCESS_DENIED
    {0xC00000CC, win::ERROR_BAD_NET_NAME},             // STATUS_BAD_NETWORK_NAME
    {0xC00000DF, win::ERROR_NO_SUCH_DOMAIN},           // STATUS_NO_SUCH_DOMAIN
    {0xC0000120, win::ERROR_CANCELLED},                // STATUS_CANCELLED: the run's Stop
    {0xC0000133, win::ERROR_TIME_SKEW},                // STATUS_TIME_DIFFERENCE_AT_DC
    {0xC000014B, win::ERROR_BROKEN_PIPE},              // STATUS_PIPE_BROKEN
    {0xC0000151, win::ERROR_NO_SUCH_ALIAS},            // STATUS_NO_SUCH_ALIAS
    {0xC000015B, win::ERROR_LOGON_TYPE_NOT_GRANTED},   // STATUS_LOGON_TYPE_NOT_GRANTED
    {0xC000020C, win::ERROR_NETNAME_DELETED},          // STATUS_CONNECTION_DISCONNECTED
    {0xC000020D, win::ERROR_NETNAME_DELETED},          // STATUS_CONNECTION_RESET
    {0xC0000224, win::ERROR_PASSWORD_MUST_CHANGE},     // STATUS_PASSWORD_MUST_CHANGE
    {0xC0000234, win::ERROR_ACCOUNT_LOCKED_OUT},       // STATUS_ACCOUNT_LOCKED_OUT
    {0xC0000236, win::ERROR_CONNECTION_REFUSED},       // STATUS_CONNECTION_REFUSED
    {0xC000023C, win::ERROR_NETWORK_UNREACHABLE},      // STATUS_NETWORK_UNREACHABLE
    {0xC000023D, win::ERROR_HOST_UNREACHABLE},         // STATUS_HOST_UNREACHABLE
    {0xC0000241, win::ERROR_CONNECTION_ABORTED},       // STATUS_CONNECTION_ABORTED
    {0xC0020012, win::RPC_S_UNKNOWN_IF},               // RPC_NT_UNKNOWN_IF
    {0xC0020017, win::RPC_S_SERVER_UNAVAILABLE},       // RPC_NT_SERVER_UNAVAILABLE
    {0xC0020018, win::RPC_S_SERVER_TOO_BUSY},          // RPC_NT_SERVER_TOO_BUSY
    {0xC002001B, win::RPC_S_CALL_FAILED},              // RPC_NT_CALL_FAILED
    {0xC002001C, win::RPC_S_CALL_FAILED_DNE},          // RPC_NT_CALL_FAILED_DNE
    {0xC002001D, win::RPC_S_PROTOCOL_ERROR},           // RPC_NT_PROTOCOL_ERROR
    {0xC0020021, win::RPC_S_UNSUPPORTED_TYPE},         // RPC_NT_UNSUPPORTED_TYPE
    {0xC0020023, win::RPC_S_INVALID_BOUND},            // RPC_NT_INVALID_BOUND
    {0xC002002E, win::RPC_S_PROCNUM_OUT_OF_RANGE},     // RPC_NT_PROCNUM_OUT_OF_RANGE
    {0xC0020050, win::RPC_S_CALL_CANCELLED},           // RPC_NT_CALL_CANCELLED
    {0xC0020052, win::RPC_S_COMM_FAILURE},             // RPC_NT_COMM_FAILURE
    {0xC0020057, win::RPC_S_SEC_PKG_ERROR},            // RPC_NT_SEC_PKG_ERROR
    {0xC0030005, win::ERROR_INVALID_HANDLE},           // RPC_NT_SS_CONTEXT_MISMATCH
    {0xC0030009, win::RPC_X_NULL_REF_POINTER},         // RPC_NT_NULL_REF_POINTER
    {0xC003000A, win::RPC_X_ENUM_VALUE_OUT_OF_RANGE},  // RPC_NT_ENUM_VALUE_OUT_OF_RANGE
    {0xC003000B, win::RPC_X_BYTE_COUNT_TOO_SMALL},     // RPC_NT_BYTE_COUNT_TOO_SMALL
    {0xC003000C, win::RPC_X_BAD_STUB_DATA},            // RPC_NT_BAD_STUB_DATA
};

constexpr StatusMapping kDceFaults[] = {
    {0x1C000001, win::RPC_S_ZERO_DIVIDE},               // nca_s_fault_int_div_by_zero
    {0x1C000002, win::RPC_S_ADDRESS_ERROR},             // nca_s_fault_addr_error
    {0x1C000003, win::RPC_S_FP_DIV_ZERO},               // nca_s_fault_fp_div_zero
    {0x1C000004, win::RPC_S_FP_UNDERFLOW},              // nca_s_fault_fp_underflow
    {0x1C000005, win::RPC_S_FP_OVERFLOW},               // nca_s_fault_fp_overflow
    {0x1C000006, win::RPC_S_INVALID_TAG},               // nca_s_fault_invalid_tag
    {0x1C000007, win::RPC_S_INVALID_BOUND},             // nca_s_fault_invalid_bound
    {0x1C000008, win::RPC_S_PROTOCOL_ERROR},            // nca_rpc_version_mismatch
    {0x1C000009, win::RPC_S_CALL_FAILED},               // nca_unspec_reject
    {0x1C00000A, win::RPC_S_CALL_FAILED_DNE},           // nca_s_bad_actid
    {0x1C00000B, win::RPC_S_CALL_FAILED},               // nca_who_are_you_failed
    {0x1C00000C, win::RPC_S_CALL_FAILED_DNE},           // nca_manager_not_entered
    {0x1C00000D, win::RPC_S_CALL_CANCELLED},            // nca_s_fault_cancel
    {0x1C000012, win::RPC_S_CALL_FAILED},               // nca_s_fault_unspec
    {0x1C00001A, win::ERROR_INVALID_HANDLE},            // nca_s_fault_context_mismatch
    {0x1C00001B, win::ERROR_NOT_ENOUGH_SERVER_MEMORY},  // nca_s_fault_remote_no_memory
    {0x1C010001, win::RPC_S_COMM_FAILURE},              // nca_s_comm_failure
    {0x1C010002, win::RPC_S_PROCNUM_OUT_OF_RANGE},      // nca_s_op_rng_error
    {0x1C010003, win::RPC_S_UNKNOWN_IF},                // nca_s_unk_if
    {0x1C010009, win::RPC_S_CALL_FAILED},               // nca_s_you_crashed
    {0x1C01000B, win::RPC_S_PROTOCOL_ERROR},            // nca_s_proto_error
    {0x1C010013, win::ERROR_NOT_ENOUGH_SERVER_MEMORY},  // nca_s_out_args_too_big
    {0x1C010014, win::RPC_S_SERVER_TOO_BUSY},           // nca_s_server_too_busy
    {0x1C010017, win::RPC_S_UNSUPPORTED_TYPE},          // nca_s_unsupported_type
};

const StatusMapping* Find(std::span<const StatusMapping> table, std::uint32_t from) {
  const auto it = std::find_if(table.begin(), table.end(),
                               [from](const StatusMapping& row) { return row.from == from; });
  return it == table.end() ? nullptr : &*it;
}

}  // namespace

win::Status StatusFromNtStatus(std::uint32_t ntstatus) {
  if (const StatusMapping* row = Find(kNtStatuses, ntstatus)) return row->to;
  // Facility 7 (FACILITY_NTWIN32) wraps a Win32 error in its low word.
  if ((ntstatus & 0xFFFF0000) == 0xC0070000) {
    const win::Status error = ntstatus & 0xFFFF;
    if (win::FindStatus(error) != nullptr) return error;
  }
  return win::RPC_S_CALL_FAILED;
}

win::Status StatusFromDceFault(std::uint32_t fault) {
  if (const StatusMapping* row = Find(kDceFaults, fault)) return row->to;
  // nca_s_fault_ndr and nca_s_fault_access_denied are the Win32 errors
  // RPC_X_BAD_STUB_DATA and ERROR_ACCESS_DENIED already.
  if (fault != 0 && win::FindStatus(fault) != nullptr) return fault;
  return win::RPC_S_CALL_FAILED;
}

}  // namespace tabulon::platform::remote
