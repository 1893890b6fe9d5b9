#include "platform/win_error.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

namespace tabulon::win {
namespace {

struct MessageEntry {
  Status code;
  const char* text;
};

// Sorted by code. The texts describe each status in this program's own words.
constexpr std::array kMessages{
    MessageEntry{ERROR_SUCCESS, "The operation completed successfully."},
    MessageEntry{ERROR_INVALID_FUNCTION, "The function is not valid for this object."},
    MessageEntry{ERROR_FILE_NOT_FOUND, "The file could not be found."},
    MessageEntry{ERROR_PATH_NOT_FOUND, "The path could not be found."},
    MessageEntry{ERROR_TOO_MANY_OPEN_FILES, "Too many files are open."},
    MessageEntry{ERROR_ACCESS_DENIED, "Access was denied."},
    MessageEntry{ERROR_INVALID_HANDLE, "The handle is not valid."},
    MessageEntry{ERROR_NOT_ENOUGH_MEMORY, "There is not enough memory to complete the operation."},
    MessageEntry{ERROR_INVALID_DATA, "The data is not valid."},
    MessageEntry{ERROR_WRITE_PROTECT, "The medium is write protected."},
    MessageEntry{ERROR_NOT_READY, "The device is not ready."},
    MessageEntry{ERROR_SHARING_VIOLATION, "The file is in use by another process."},
    MessageEntry{ERROR_NOT_SUPPORTED, "The request is not supported."},
    MessageEntry{ERROR_BAD_NETPATH, "The network path could not be found."},
    MessageEntry{ERROR_NETWORK_BUSY, "The network is busy."},
    MessageEntry{ERROR_UNEXP_NET_ERR, "An unexpected network error occurred."},
    MessageEntry{ERROR_BAD_NET_NAME, "The network name could not be found."},
    MessageEntry{ERROR_INVALID_PARAMETER, "A parameter is not valid."},
    MessageEntry{ERROR_DISK_FULL, "There is not enough space on the disk."},
    MessageEntry{ERROR_INSUFFICIENT_BUFFER, "The buffer passed is too small for the data."},
    MessageEntry{ERROR_INVALID_NAME, "The file name, directory name or volume label is not valid."},
    MessageEntry{ERROR_INVALID_LEVEL, "The information level is not valid for this call."},
    MessageEntry{ERROR_PROC_NOT_FOUND, "The requested procedure could not be found."},
    MessageEntry{ERROR_DIR_NOT_ROOT, "The directory is not the root directory of a volume."},
    MessageEntry{ERROR_ALREADY_EXISTS, "The file already exists."},
    MessageEntry{ERROR_FILENAME_EXCED_RANGE, "The file name or extension is too long."},
    MessageEntry{ERROR_MORE_DATA, "More data is available."},
    MessageEntry{ERROR_NO_MORE_ITEMS, "There are no more items."},
    MessageEntry{ERROR_DIRECTORY, "The directory name is not valid."},
    MessageEntry{ERROR_INVALID_ADDRESS, "The address is not valid."},
    MessageEntry{ERROR_SERVICE_DOES_NOT_EXIST, "The service is not installed."},
    MessageEntry{ERROR_BAD_DEVICE, "The device name is not valid."},
    MessageEntry{
        ERROR_NO_NET_OR_BAD_PATH,
        "The network path was mistyped, does not exist, or the network provider is not available."},
    MessageEntry{ERROR_NO_SUCH_USER, "The user does not exist."},
    MessageEntry{ERROR_NO_SUCH_GROUP, "The group does not exist."},
    MessageEntry{ERROR_LOGON_FAILURE, "The user name or password is wrong."},
    MessageEntry{ERROR_NONE_MAPPED, "No mapping between account names and security IDs was done."},
    MessageEntry{ERROR_INVALID_SID, "The security ID structure is not valid."},
    MessageEntry{ERROR_NO_SUCH_DOMAIN, "The domain does not exist or could not be contacted."},
    MessageEntry{ERROR_NO_SUCH_ALIAS, "The local group does not exist."},
    MessageEntry{ERROR_TIMEOUT, "The operation did not finish before its time-out ran out."},
    MessageEntry{RPC_S_SERVER_UNAVAILABLE, "The RPC server is not available."},
    MessageEntry{RPC_S_CALL_FAILED, "The remote procedure call failed."},
    MessageEntry{ERROR_NO_TRUST_SAM_ACCOUNT,
                 "The workstation has no trust account in the domain's security database."},
    MessageEntry{ERROR_INVALID_PRINTER_NAME, "The printer name is not valid."},
    MessageEntry{ERROR_DOMAIN_CONTROLLER_NOT_FOUND,
                 "No domain controller could be found for the domain."},
    MessageEntry{NERR_NetNotStarted, "The workstation driver is not installed."},
    MessageEntry{NERR_ServerNotStarted, "The Server service is not running."},
    MessageEntry{NERR_BufTooSmall, "The API return buffer is too small."},
    MessageEntry{NERR_ServiceNotInstalled, "The service has not been started."},
    MessageEntry{NERR_GroupNotFound, "The group name could not be found."},
    MessageEntry{NERR_UserNotFound, "The user name could not be found."},
    MessageEntry{ERROR_NOT_CONNECTED, "This network connection does not exist."},
    MessageEntry{NERR_NetNameNotFound, "The share name does not exist."},
    MessageEntry{NERR_ClientNameNotFound, "No session exists with that computer name."},
    MessageEntry{NERR_InvalidComputer, "The computer name is not valid."},
    MessageEntry{NERR_DCNotFound, "No domain controller could be found for this domain."},
    MessageEntry{ERROR_NO_BROWSER_SERVERS_FOUND,
                 "The list of servers for this workgroup is not available at the moment."},
    MessageEntry{ERROR_CTX_WINSTATION_NOT_FOUND, "No session with that name or number exists."},
    MessageEntry{WSAETIMEDOUT,
                 "The connection attempt timed out: the other side did not answer in time."},
    MessageEntry{WSAEHOSTUNREACH, "A socket operation was attempted to an unreachable host."},
    MessageEntry{WSAHOST_NOT_FOUND, "No such host is known."},
};

constexpr bool SortedByCode() {
  for (std::size_t i = 1; i < kMessages.size(); ++i) {
    if (kMessages[i - 1].code >= kMessages[i].code) return false;
  }
  return true;
}
static_assert(SortedByCode(), "message table must stay sorted by code");

}  // namespace

Status StatusFromErrno(int error) {
  switch (error) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EROFS:
      return ERROR_WRITE_PROTECT;
    case ETXTBSY:
    case EBUSY:
      return ERROR_SHARING_VIOLATION;
    case ENOSPC:
#ifdef EDQUOT  // POSIX only; not among the C++ error numbers
    case EDQUOT:
#endif
      return ERROR_DISK_FULL;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ETIMEDOUT:
      return WSAETIMEDOUT;
    case EHOSTUNREACH:
      return WSAEHOSTUNREACH;
    default:
      return ERROR_INVALID_FUNCTION;
  }
}

std::string SystemMessageText(Status code) {
  const auto* it = std::lower_bound(kMessages.begin(), kMessages.end(), code,
                                    [](const MessageEntry& e, Status c) { return e.code < c; });
  if (it == kMessages.end() || it->code != code) return {};
  return it->text;
}

}  // namespace tabulon::win
