#include "platform/samba/samba_status.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

#include "platform/remote/status_mapping.h"

namespace tabulon::platform::samba {
namespace {

// The NTSTATUS values a connection and a call give in practice, with what a
// Windows client reports for the same failure. Anything else is a failed call.
//
// This is not the general NTSTATUS table (platform/nt_status.cpp, which
// platform/remote/status_mapping.cpp applies to the statuses servers put in
// their replies) and cannot be merged with it: these are the client
// library's own reports about the transport — a connection refused, reset or
// closed, a logon refused, a pipe missing — which the RPC runtime of a
// Windows client reports as the RPC or network errors below, not as the
// Windows errors the general table gives for the same numbers
// (CONNECTION_REFUSED there is ERROR_CONNECTION_REFUSED, here the network
// path not found; CONNECTION_RESET there is ERROR_NETNAME_DELETED, here a
// failed call), and a number not listed here is a failed call, not its
// general meaning.
constexpr std::array<std::pair<std::uint32_t, win::Status>, 28> kNtStatus{{
    {0x00000000, win::ERROR_SUCCESS},
    {0xC000000D, win::ERROR_INVALID_PARAMETER},
    {0xC0000011, win::RPC_S_CALL_FAILED},  // END_OF_FILE: the pipe closed
    // NO_MEMORY: the library reports a write to a connection that has gone
    // as out of memory at times; the worker itself never runs out.
    {0xC0000017, win::RPC_S_CALL_FAILED},
    {0xC0000022, win::ERROR_ACCESS_DENIED},
    {0xC0000034, win::RPC_S_SERVER_UNAVAILABLE},     // OBJECT_NAME_NOT_FOUND: no such pipe
    {0xC000005E, win::ERROR_NO_LOGON_SERVERS},       // no Kerberos for this server
    {0xC000005F, win::ERROR_NO_SUCH_LOGON_SESSION},  // no Kerberos tickets
    {0xC0000064, win::ERROR_LOGON_FAILURE},          // NO_SUCH_USER: SMB hides which part was wrong
    {0xC000006A, win::ERROR_LOGON_FAILURE},          // WRONG_PASSWORD
    {0xC000006D, win::ERROR_LOGON_FAILURE},
    {0xC0000071, win::ERROR_PASSWORD_EXPIRED},
    {0xC0000072, win::ERROR_ACCOUNT_DISABLED},
    {0xC00000B0, win::RPC_S_CALL_FAILED},  // PIPE_DISCONNECTED
    {0xC00000B5, win::ERROR_TIMEOUT},      // IO_TIMEOUT
    {0xC00000BB, win::ERROR_NOT_SUPPORTED},
    {0xC00000BE, win::ERROR_BAD_NETPATH},
    {0xC00000CA, win::ERROR_ACCESS_DENIED},  // NETWORK_ACCESS_DENIED
    {0xC00000CC, win::ERROR_BAD_NET_NAME},
    {0xC0000120, win::ERROR_CANCELLED},
    {0xC000013B, win::RPC_S_CALL_FAILED},  // LOCAL_DISCONNECT
    {0xC000013C, win::RPC_S_CALL_FAILED},  // REMOTE_DISCONNECT
    {0xC000014B, win::RPC_S_CALL_FAILED},  // PIPE_BROKEN
    {0xC000020C, win::RPC_S_CALL_FAILED},  // CONNECTION_DISCONNECTED
    {0xC000020D, win::RPC_S_CALL_FAILED},  // CONNECTION_RESET
    {0xC0000236, win::ERROR_BAD_NETPATH},  // CONNECTION_REFUSED
    {0xC000023C, win::ERROR_BAD_NETPATH},  // NETWORK_UNREACHABLE
    {0xC000023D, win::ERROR_BAD_NETPATH},  // HOST_UNREACHABLE
}};

// What the file client's errno values stand for on the network, with what a
// Windows client reports; the rest are mapped as for local files. A server
// that cannot be reached is a network path not found; a connection that
// breaks (reset, closed) a network name no longer available.
constexpr std::array<std::pair<int, win::Status>, 17> kFileClientErrors{{
    {ECONNREFUSED, win::ERROR_BAD_NETPATH},
    {ECONNRESET, win::ERROR_NETNAME_DELETED},
    {ENETRESET, win::ERROR_NETNAME_DELETED},
    {ECONNABORTED, win::ERROR_NETNAME_DELETED},
    {EPIPE, win::ERROR_NETNAME_DELETED},
    {ENOTCONN, win::ERROR_NETNAME_DELETED},
    {EHOSTUNREACH, win::ERROR_BAD_NETPATH},
    {ENETUNREACH, win::ERROR_BAD_NETPATH},
    {ETIMEDOUT, win::ERROR_BAD_NETPATH},
    {EHOSTDOWN, win::ERROR_BAD_NETPATH},
    {ENODEV, win::ERROR_BAD_NET_NAME},
    {ENOTDIR, win::ERROR_PATH_NOT_FOUND},
    {ENOTSUP, win::ERROR_NOT_SUPPORTED},
    {ENOSYS, win::ERROR_NOT_SUPPORTED},
    {EINVAL, win::ERROR_INVALID_NAME},
    {EISDIR, win::ERROR_ACCESS_DENIED},
    {ENOKEY, win::ERROR_NO_SUCH_LOGON_SESSION},  // the worker's: no Kerberos tickets
}};

}  // namespace

win::Status StatusFromFileClient(std::uint32_t error, win::Status missing) {
  const auto e = static_cast<int>(error);
  if (e == ENOENT) return missing;
  const auto* it = std::find_if(kFileClientErrors.begin(), kFileClientErrors.end(),
                                [&](const auto& row) { return row.first == e; });
  return it != kFileClientErrors.end() ? it->second : win::StatusFromErrno(e);
}

std::uint32_t KerberosConnectStatus(std::uint32_t nt_status) {
  return nt_status == kNtStatusInvalidParameter ? kNtStatusNoLogonServers : nt_status;
}

win::Status StatusFromSamba(std::uint32_t nt_status, std::uint32_t fault) {
  if (fault != 0) return remote::StatusFromDceFault(fault);
  const auto* it = std::lower_bound(kNtStatus.begin(), kNtStatus.end(), nt_status,
                                    [](const auto& row, std::uint32_t v) { return row.first < v; });
  if (it != kNtStatus.end() && it->first == nt_status) return it->second;
  return win::RPC_S_CALL_FAILED;
}

}  // namespace tabulon::platform::samba
