#include "estate/status_names.h"

#include <array>
#include <charconv>

#include "platform/text.h"

namespace tabulon::estate {
namespace {

struct StatusName {
  std::string_view name;
  win::Status code;
};

// Every status the platform layer knows by name.
constexpr std::array kStatusNames{
    StatusName{"ERROR_SUCCESS", win::ERROR_SUCCESS},
    StatusName{"ERROR_INVALID_FUNCTION", win::ERROR_INVALID_FUNCTION},
    StatusName{"ERROR_FILE_NOT_FOUND", win::ERROR_FILE_NOT_FOUND},
    StatusName{"ERROR_PATH_NOT_FOUND", win::ERROR_PATH_NOT_FOUND},
    StatusName{"ERROR_ACCESS_DENIED", win::ERROR_ACCESS_DENIED},
    StatusName{"ERROR_TOO_MANY_OPEN_FILES", win::ERROR_TOO_MANY_OPEN_FILES},
    StatusName{"ERROR_INVALID_HANDLE", win::ERROR_INVALID_HANDLE},
    StatusName{"ERROR_NOT_ENOUGH_MEMORY", win::ERROR_NOT_ENOUGH_MEMORY},
    StatusName{"ERROR_INVALID_DATA", win::ERROR_INVALID_DATA},
    StatusName{"ERROR_WRITE_PROTECT", win::ERROR_WRITE_PROTECT},
    StatusName{"ERROR_NOT_READY", win::ERROR_NOT_READY},
    StatusName{"ERROR_SHARING_VIOLATION", win::ERROR_SHARING_VIOLATION},
    StatusName{"ERROR_NOT_SUPPORTED", win::ERROR_NOT_SUPPORTED},
    StatusName{"ERROR_BAD_NETPATH", win::ERROR_BAD_NETPATH},
    StatusName{"ERROR_NETWORK_BUSY", win::ERROR_NETWORK_BUSY},
    StatusName{"ERROR_UNEXP_NET_ERR", win::ERROR_UNEXP_NET_ERR},
    StatusName{"ERROR_BAD_NET_NAME", win::ERROR_BAD_NET_NAME},
    StatusName{"ERROR_INVALID_PARAMETER", win::ERROR_INVALID_PARAMETER},
    StatusName{"ERROR_DISK_FULL", win::ERROR_DISK_FULL},
    StatusName{"ERROR_INSUFFICIENT_BUFFER", win::ERROR_INSUFFICIENT_BUFFER},
    StatusName{"ERROR_INVALID_NAME", win::ERROR_INVALID_NAME},
    StatusName{"ERROR_INVALID_LEVEL", win::ERROR_INVALID_LEVEL},
    StatusName{"ERROR_PROC_NOT_FOUND", win::ERROR_PROC_NOT_FOUND},
    StatusName{"ERROR_DIR_NOT_ROOT", win::ERROR_DIR_NOT_ROOT},
    StatusName{"ERROR_ALREADY_EXISTS", win::ERROR_ALREADY_EXISTS},
    StatusName{"ERROR_FILENAME_EXCED_RANGE", win::ERROR_FILENAME_EXCED_RANGE},
    StatusName{"ERROR_MORE_DATA", win::ERROR_MORE_DATA},
    StatusName{"ERROR_NO_MORE_ITEMS", win::ERROR_NO_MORE_ITEMS},
    StatusName{"ERROR_DIRECTORY", win::ERROR_DIRECTORY},
    StatusName{"ERROR_INVALID_ADDRESS", win::ERROR_INVALID_ADDRESS},
    StatusName{"ERROR_SERVICE_DOES_NOT_EXIST", win::ERROR_SERVICE_DOES_NOT_EXIST},
    StatusName{"ERROR_BAD_DEVICE", win::ERROR_BAD_DEVICE},
    StatusName{"ERROR_NO_NET_OR_BAD_PATH", win::ERROR_NO_NET_OR_BAD_PATH},
    StatusName{"ERROR_NOT_CONNECTED", win::ERROR_NOT_CONNECTED},
    StatusName{"ERROR_LOGON_FAILURE", win::ERROR_LOGON_FAILURE},
    StatusName{"ERROR_NONE_MAPPED", win::ERROR_NONE_MAPPED},
    StatusName{"ERROR_INVALID_SID", win::ERROR_INVALID_SID},
    StatusName{"ERROR_NO_SUCH_DOMAIN", win::ERROR_NO_SUCH_DOMAIN},
    StatusName{"ERROR_NO_SUCH_ALIAS", win::ERROR_NO_SUCH_ALIAS},
    StatusName{"ERROR_NO_SUCH_USER", win::ERROR_NO_SUCH_USER},
    StatusName{"ERROR_NO_SUCH_GROUP", win::ERROR_NO_SUCH_GROUP},
    StatusName{"ERROR_NO_TRUST_SAM_ACCOUNT", win::ERROR_NO_TRUST_SAM_ACCOUNT},
    StatusName{"ERROR_INVALID_PRINTER_NAME", win::ERROR_INVALID_PRINTER_NAME},
    StatusName{"ERROR_TIMEOUT", win::ERROR_TIMEOUT},
    StatusName{"RPC_S_SERVER_UNAVAILABLE", win::RPC_S_SERVER_UNAVAILABLE},
    StatusName{"RPC_S_CALL_FAILED", win::RPC_S_CALL_FAILED},
    StatusName{"ERROR_DOMAIN_CONTROLLER_NOT_FOUND", win::ERROR_DOMAIN_CONTROLLER_NOT_FOUND},
    StatusName{"NERR_NetNotStarted", win::NERR_NetNotStarted},
    StatusName{"NERR_ServerNotStarted", win::NERR_ServerNotStarted},
    StatusName{"NERR_BufTooSmall", win::NERR_BufTooSmall},
    StatusName{"NERR_GroupNotFound", win::NERR_GroupNotFound},
    StatusName{"NERR_UserNotFound", win::NERR_UserNotFound},
    StatusName{"NERR_DCNotFound", win::NERR_DCNotFound},
    StatusName{"NERR_ServiceNotInstalled", win::NERR_ServiceNotInstalled},
    StatusName{"NERR_NetNameNotFound", win::NERR_NetNameNotFound},
    StatusName{"NERR_ClientNameNotFound", win::NERR_ClientNameNotFound},
    StatusName{"NERR_InvalidComputer", win::NERR_InvalidComputer},
    StatusName{"ERROR_NO_BROWSER_SERVERS_FOUND", win::ERROR_NO_BROWSER_SERVERS_FOUND},
    StatusName{"ERROR_CTX_WINSTATION_NOT_FOUND", win::ERROR_CTX_WINSTATION_NOT_FOUND},
    StatusName{"WSAETIMEDOUT", win::WSAETIMEDOUT},
    StatusName{"WSAEHOSTUNREACH", win::WSAEHOSTUNREACH},
    StatusName{"WSAHOST_NOT_FOUND", win::WSAHOST_NOT_FOUND},
};

}  // namespace

std::optional<win::Status> StatusFromName(std::string_view name) {
  for (const auto& entry : kStatusNames) {
    if (text::EqualsNoCase(entry.name, name)) return entry.code;
  }
  win::Status code = 0;
  const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), code);
  if (ec == std::errc() && end == name.data() + name.size() && !name.empty()) return code;
  return std::nullopt;
}

std::string_view StatusName(win::Status code) {
  for (const auto& entry : kStatusNames) {
    if (entry.code == code) return entry.name;
  }
  return {};
}

}  // namespace tabulon::estate
