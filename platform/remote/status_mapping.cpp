#include "platform/remote/status_mapping.h"

#include <algorithm>
#include <optional>
#include <span>

#include "platform/nt_status.h"
#include "platform/status_table.h"

namespace tabulon::platform::remote {
namespace {

// NTSTATUS values that servers put in their replies go through the one
// general table (platform/nt_status.cpp), as LsaNtStatusToWinError maps
// them. The transport's own reports of connections and logons have a table
// of their own (platform/samba/samba_status.cpp), which says why; the DCE
// fault codes below are a third vocabulary, of the RPC protocol itself.
struct StatusMapping {
  std::uint32_t from;
  win::Status to;
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
  // A pipe that is not there is a service that is not running: the RPC
  // runtime reports the server as unavailable.
  if (ntstatus == win::STATUS_OBJECT_NAME_NOT_FOUND) return win::RPC_S_SERVER_UNAVAILABLE;
  const std::optional<win::Status> error = nt::MappedWinError(ntstatus);
  return error && win::FindStatus(*error) != nullptr ? *error : win::RPC_S_CALL_FAILED;
}

win::Status StatusFromDceFault(std::uint32_t fault) {
  if (const StatusMapping* row = Find(kDceFaults, fault)) return row->to;
  // nca_s_fault_ndr and nca_s_fault_access_denied are the Win32 errors
  // RPC_X_BAD_STUB_DATA and ERROR_ACCESS_DENIED already.
  if (fault != 0 && fault <= 0xFFFF && win::FindStatus(fault) != nullptr) return fault;
  return win::RPC_S_CALL_FAILED;
}

}  // namespace tabulon::platform::remote
