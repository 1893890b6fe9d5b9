#pragma once
// Windows status numbers. The platform layer reports every failure with the
// number a Windows system would give, so that error texts and the behaviour
// that depends on a status (paging, level fallback) stay the same everywhere.
#include <cstdint>

namespace tabulon::win {

using Status = std::uint32_t;

inline constexpr Status ERROR_SUCCESS = 0;
inline constexpr Status ERROR_INVALID_FUNCTION = 1;
inline constexpr Status ERROR_FILE_NOT_FOUND = 2;
inline constexpr Status ERROR_PATH_NOT_FOUND = 3;
inline constexpr Status ERROR_ACCESS_DENIED = 5;
inline constexpr Status ERROR_TOO_MANY_OPEN_FILES = 4;
inline constexpr Status ERROR_INVALID_HANDLE = 6;
inline constexpr Status ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr Status ERROR_INVALID_DATA = 13;
inline constexpr Status ERROR_WRITE_PROTECT = 19;
inline constexpr Status ERROR_NOT_READY = 21;
inline constexpr Status ERROR_SHARING_VIOLATION = 32;
inline constexpr Status ERROR_NOT_SUPPORTED = 50;
inline constexpr Status ERROR_BAD_NETPATH = 53;
inline constexpr Status ERROR_NETWORK_BUSY = 54;
inline constexpr Status ERROR_UNEXP_NET_ERR = 59;
inline constexpr Status ERROR_BAD_NET_NAME = 67;
inline constexpr Status ERROR_INVALID_PARAMETER = 87;
inline constexpr Status ERROR_DISK_FULL = 112;
inline constexpr Status ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr Status ERROR_INVALID_NAME = 123;
inline constexpr Status ERROR_INVALID_LEVEL = 124;
inline constexpr Status ERROR_PROC_NOT_FOUND = 127;
inline constexpr Status ERROR_DIR_NOT_ROOT = 144;
inline constexpr Status ERROR_ALREADY_EXISTS = 183;
inline constexpr Status ERROR_FILENAME_EXCED_RANGE = 206;
inline constexpr Status ERROR_MORE_DATA = 234;
inline constexpr Status ERROR_NO_MORE_ITEMS = 259;
inline constexpr Status ERROR_DIRECTORY = 267;
inline constexpr Status ERROR_INVALID_ADDRESS = 487;
inline constexpr Status ERROR_SERVICE_DOES_NOT_EXIST = 1060;
inline constexpr Status ERROR_BAD_DEVICE = 1200;
inline constexpr Status ERROR_NO_NET_OR_BAD_PATH = 1203;
inline constexpr Status ERROR_NOT_CONNECTED = 2250;
inline constexpr Status ERROR_LOGON_FAILURE = 1326;
inline constexpr Status ERROR_NONE_MAPPED = 1332;
inline constexpr Status ERROR_INVALID_SID = 1337;
inline constexpr Status ERROR_NO_SUCH_DOMAIN = 1355;
inline constexpr Status ERROR_NO_SUCH_ALIAS = 1376;
inline constexpr Status ERROR_NO_SUCH_USER = 1317;
inline constexpr Status ERROR_NO_SUCH_GROUP = 1319;
inline constexpr Status ERROR_NO_TRUST_SAM_ACCOUNT = 1787;
inline constexpr Status ERROR_INVALID_PRINTER_NAME = 1801;
inline constexpr Status ERROR_TIMEOUT = 1460;
inline constexpr Status ERROR_CANCELLED = 1223;
inline constexpr Status RPC_S_SERVER_UNAVAILABLE = 1722;
inline constexpr Status RPC_S_CALL_FAILED = 1726;
inline constexpr Status ERROR_DOMAIN_CONTROLLER_NOT_FOUND = 1908;
inline constexpr Status NERR_NetNotStarted = 2102;
inline constexpr Status NERR_ServerNotStarted = 2114;
inline constexpr Status NERR_BufTooSmall = 2123;
inline constexpr Status NERR_GroupNotFound = 2220;
inline constexpr Status NERR_UserNotFound = 2221;
inline constexpr Status NERR_DCNotFound = 2453;
inline constexpr Status NERR_ServiceNotInstalled = 2184;
inline constexpr Status NERR_NetNameNotFound = 2310;
inline constexpr Status NERR_ClientNameNotFound = 2312;
inline constexpr Status NERR_InvalidComputer = 2351;
inline constexpr Status ERROR_NO_BROWSER_SERVERS_FOUND = 6118;
inline constexpr Status ERROR_CTX_WINSTATION_NOT_FOUND = 7022;
inline constexpr Status WSAETIMEDOUT = 10060;
inline constexpr Status WSAEHOSTUNREACH = 10065;
inline constexpr Status WSAHOST_NOT_FOUND = 11001;

// The status a Windows system would report for a C library errno value.
Status StatusFromErrno(int error);

}  // namespace tabulon::win
