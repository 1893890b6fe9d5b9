// The Windows statuses the platform layer reports: one row per status with its
// symbolic name, number and English message text. This is the only place a
// status is added; the named constants (status.h), the message texts and the
// name lookup of estate files are all generated from it.
//
// The includer defines TABULON_WIN_STATUS(name, code, text) before including
// this file and undefines it afterwards, so there is deliberately no include
// guard. Rows are sorted by code; the message text is never empty, so a
// failure row or log line always says something.
TABULON_WIN_STATUS(ERROR_SUCCESS, 0, "The operation completed successfully.")
TABULON_WIN_STATUS(ERROR_INVALID_FUNCTION, 1, "The function is not valid for this object.")
TABULON_WIN_STATUS(ERROR_FILE_NOT_FOUND, 2, "The file could not be found.")
TABULON_WIN_STATUS(ERROR_PATH_NOT_FOUND, 3, "The path could not be found.")
TABULON_WIN_STATUS(ERROR_TOO_MANY_OPEN_FILES, 4, "Too many files are open.")
TABULON_WIN_STATUS(ERROR_ACCESS_DENIED, 5, "Access was denied.")
TABULON_WIN_STATUS(ERROR_INVALID_HANDLE, 6, "The handle is not valid.")
TABULON_WIN_STATUS(ERROR_NOT_ENOUGH_MEMORY, 8,
                   "There is not enough memory to complete the operation.")
TABULON_WIN_STATUS(ERROR_INVALID_DATA, 13, "The data is not valid.")
TABULON_WIN_STATUS(ERROR_NO_MORE_FILES, 18, "There are no more files.")
TABULON_WIN_STATUS(ERROR_WRITE_PROTECT, 19, "The medium is write protected.")
TABULON_WIN_STATUS(ERROR_NOT_READY, 21, "The device is not ready.")
TABULON_WIN_STATUS(ERROR_SHARING_VIOLATION, 32, "The file is in use by another process.")
TABULON_WIN_STATUS(ERROR_HANDLE_EOF, 38, "The end of the file has been reached.")
TABULON_WIN_STATUS(ERROR_NOT_SUPPORTED, 50, "The request is not supported.")
TABULON_WIN_STATUS(ERROR_BAD_NETPATH, 53, "The network path could not be found.")
TABULON_WIN_STATUS(ERROR_NETWORK_BUSY, 54, "The network is busy.")
TABULON_WIN_STATUS(ERROR_UNEXP_NET_ERR, 59, "An unexpected network error occurred.")
TABULON_WIN_STATUS(ERROR_NETNAME_DELETED, 64, "The specified network name is no longer available.")
TABULON_WIN_STATUS(ERROR_NETWORK_ACCESS_DENIED, 65, "Network access is denied.")
TABULON_WIN_STATUS(ERROR_BAD_NET_NAME, 67, "The network name could not be found.")
TABULON_WIN_STATUS(ERROR_INVALID_PASSWORD, 86, "The specified network password is not correct.")
TABULON_WIN_STATUS(ERROR_INVALID_PARAMETER, 87, "A parameter is not valid.")
TABULON_WIN_STATUS(ERROR_BROKEN_PIPE, 109, "The pipe has been ended.")
TABULON_WIN_STATUS(ERROR_DISK_FULL, 112, "There is not enough space on the disk.")
TABULON_WIN_STATUS(ERROR_SEM_TIMEOUT, 121, "The semaphore timeout period has expired.")
TABULON_WIN_STATUS(ERROR_INSUFFICIENT_BUFFER, 122, "The buffer passed is too small for the data.")
TABULON_WIN_STATUS(ERROR_INVALID_NAME, 123,
                   "The file name, directory name or volume label is not valid.")
TABULON_WIN_STATUS(ERROR_INVALID_LEVEL, 124, "The information level is not valid for this call.")
TABULON_WIN_STATUS(ERROR_PROC_NOT_FOUND, 127, "The requested procedure could not be found.")
TABULON_WIN_STATUS(ERROR_DIR_NOT_ROOT, 144, "The directory is not the root directory of a volume.")
TABULON_WIN_STATUS(ERROR_ALREADY_EXISTS, 183, "The file already exists.")
TABULON_WIN_STATUS(ERROR_FILENAME_EXCED_RANGE, 206, "The file name or extension is too long.")
TABULON_WIN_STATUS(ERROR_PIPE_BUSY, 231, "All pipe instances are busy.")
TABULON_WIN_STATUS(ERROR_PIPE_NOT_CONNECTED, 233, "No process is on the other end of the pipe.")
TABULON_WIN_STATUS(ERROR_MORE_DATA, 234, "More data is available.")
TABULON_WIN_STATUS(ERROR_NO_MORE_ITEMS, 259, "There are no more items.")
TABULON_WIN_STATUS(ERROR_DIRECTORY, 267, "The directory name is not valid.")
TABULON_WIN_STATUS(
    ERROR_MR_MID_NOT_FOUND, 317,
    "The system cannot find message text for message number 0x%1 in the message file for %2.")
TABULON_WIN_STATUS(ERROR_INVALID_ADDRESS, 487, "The address is not valid.")
TABULON_WIN_STATUS(ERROR_SERVICE_DOES_NOT_EXIST, 1060, "The service is not installed.")
TABULON_WIN_STATUS(ERROR_NOT_ENOUGH_SERVER_MEMORY, 1130,
                   "Not enough server memory resources are available to process this command.")
TABULON_WIN_STATUS(ERROR_BAD_DEVICE, 1200, "The device name is not valid.")
TABULON_WIN_STATUS(
    ERROR_NO_NET_OR_BAD_PATH, 1203,
    "The network path was mistyped, does not exist, or the network provider is not available.")
TABULON_WIN_STATUS(ERROR_CANCELLED, 1223, "The operation was canceled by the user.")
TABULON_WIN_STATUS(ERROR_CONNECTION_REFUSED, 1225,
                   "The remote computer refused the network connection.")
TABULON_WIN_STATUS(ERROR_NETWORK_UNREACHABLE, 1231, "The network location cannot be reached.")
TABULON_WIN_STATUS(ERROR_HOST_UNREACHABLE, 1232,
                   "The remote system is not reachable by the transport.")
TABULON_WIN_STATUS(ERROR_CONNECTION_ABORTED, 1236,
                   "The network connection was aborted by the local system.")
TABULON_WIN_STATUS(ERROR_NO_LOGON_SERVERS, 1311,
                   "There are currently no logon servers available to service the logon request.")
TABULON_WIN_STATUS(ERROR_NO_SUCH_LOGON_SESSION, 1312,
                   "A specified logon session does not exist. It may already have been terminated.")
TABULON_WIN_STATUS(ERROR_NO_SUCH_PRIVILEGE, 1313, "A specified privilege does not exist.")
TABULON_WIN_STATUS(ERROR_NO_SUCH_USER, 1317, "The user does not exist.")
TABULON_WIN_STATUS(ERROR_NO_SUCH_GROUP, 1319, "The group does not exist.")
TABULON_WIN_STATUS(
    ERROR_WRONG_PASSWORD, 1323,
    "Unable to update the password. The value provided as the current password is incorrect.")
TABULON_WIN_STATUS(ERROR_LOGON_FAILURE, 1326, "The user name or password is wrong.")
TABULON_WIN_STATUS(ERROR_ACCOUNT_RESTRICTION, 1327,
                   "Account restrictions are preventing this user from signing in.")
TABULON_WIN_STATUS(ERROR_INVALID_LOGON_HOURS, 1328,
                   "Your account has time restrictions that keep you from signing in right now.")
TABULON_WIN_STATUS(ERROR_INVALID_WORKSTATION, 1329,
                   "This user isn't allowed to sign in to this computer.")
TABULON_WIN_STATUS(ERROR_PASSWORD_EXPIRED, 1330, "The password for this account has expired.")
TABULON_WIN_STATUS(ERROR_ACCOUNT_DISABLED, 1331,
                   "This user can't sign in because this account is currently disabled.")
TABULON_WIN_STATUS(ERROR_NONE_MAPPED, 1332,
                   "No mapping between account names and security IDs was done.")
TABULON_WIN_STATUS(ERROR_INVALID_SID, 1337, "The security ID structure is not valid.")
TABULON_WIN_STATUS(ERROR_INVALID_SECURITY_DESCR, 1338,
                   "The security descriptor structure is invalid.")
TABULON_WIN_STATUS(ERROR_NO_SUCH_DOMAIN, 1355,
                   "The domain does not exist or could not be contacted.")
TABULON_WIN_STATUS(ERROR_NO_SUCH_ALIAS, 1376, "The local group does not exist.")
TABULON_WIN_STATUS(ERROR_LOGON_TYPE_NOT_GRANTED, 1385,
                   "The user has not been granted the requested logon type at this computer.")
TABULON_WIN_STATUS(ERROR_TIME_SKEW, 1398,
                   "There is a time and/or date difference between the client and server.")
TABULON_WIN_STATUS(ERROR_TIMEOUT, 1460,
                   "This operation returned because the timeout period expired.")
TABULON_WIN_STATUS(RPC_S_UNKNOWN_IF, 1717, "The interface is unknown.")
TABULON_WIN_STATUS(RPC_S_SERVER_UNAVAILABLE, 1722, "The RPC server is not available.")
TABULON_WIN_STATUS(RPC_S_SERVER_TOO_BUSY, 1723,
                   "The RPC server is too busy to complete this operation.")
TABULON_WIN_STATUS(RPC_S_CALL_FAILED, 1726, "The remote procedure call failed.")
TABULON_WIN_STATUS(RPC_S_CALL_FAILED_DNE, 1727,
                   "The remote procedure call failed and did not execute.")
TABULON_WIN_STATUS(RPC_S_PROTOCOL_ERROR, 1728,
                   "A remote procedure call (RPC) protocol error occurred.")
TABULON_WIN_STATUS(RPC_S_UNSUPPORTED_TYPE, 1732, "The type UUID is not supported.")
TABULON_WIN_STATUS(RPC_S_INVALID_TAG, 1733, "The tag is invalid.")
TABULON_WIN_STATUS(RPC_S_INVALID_BOUND, 1734, "The array bounds are invalid.")
TABULON_WIN_STATUS(RPC_S_PROCNUM_OUT_OF_RANGE, 1745, "The procedure number is out of range.")
TABULON_WIN_STATUS(RPC_S_ZERO_DIVIDE, 1767, "The RPC server attempted an integer division by zero.")
TABULON_WIN_STATUS(RPC_S_ADDRESS_ERROR, 1768, "An addressing error occurred in the RPC server.")
TABULON_WIN_STATUS(RPC_S_FP_DIV_ZERO, 1769,
                   "A floating-point operation at the RPC server caused a division by zero.")
TABULON_WIN_STATUS(RPC_S_FP_UNDERFLOW, 1770,
                   "A floating-point underflow occurred at the RPC server.")
TABULON_WIN_STATUS(RPC_S_FP_OVERFLOW, 1771, "A floating-point overflow occurred at the RPC server.")
TABULON_WIN_STATUS(RPC_X_NULL_REF_POINTER, 1780, "A null reference pointer was passed to the stub.")
TABULON_WIN_STATUS(RPC_X_ENUM_VALUE_OUT_OF_RANGE, 1781, "The enumeration value is out of range.")
TABULON_WIN_STATUS(RPC_X_BYTE_COUNT_TOO_SMALL, 1782, "The byte count is too small.")
TABULON_WIN_STATUS(RPC_X_BAD_STUB_DATA, 1783, "The stub received bad data.")
TABULON_WIN_STATUS(ERROR_NO_TRUST_SAM_ACCOUNT, 1787,
                   "The workstation has no trust account in the domain's security database.")
TABULON_WIN_STATUS(ERROR_INVALID_PRINTER_NAME, 1801, "The printer name is not valid.")
TABULON_WIN_STATUS(RPC_S_CALL_CANCELLED, 1818, "The remote procedure call was cancelled.")
TABULON_WIN_STATUS(RPC_S_COMM_FAILURE, 1820,
                   "A communications failure occurred during a remote procedure call.")
TABULON_WIN_STATUS(RPC_S_SEC_PKG_ERROR, 1825, "A security package specific error occurred.")
TABULON_WIN_STATUS(ERROR_PASSWORD_MUST_CHANGE, 1907,
                   "The user's password must be changed before signing in.")
TABULON_WIN_STATUS(ERROR_DOMAIN_CONTROLLER_NOT_FOUND, 1908,
                   "Could not find the domain controller for this domain.")
TABULON_WIN_STATUS(ERROR_ACCOUNT_LOCKED_OUT, 1909,
                   "The referenced account is currently locked out and may not be logged on to.")
// 2100-2999: network management statuses.
TABULON_WIN_STATUS(NERR_NetNotStarted, 2102, "The workstation driver is not installed.")
TABULON_WIN_STATUS(NERR_ServerNotStarted, 2114, "The Server service is not running.")
TABULON_WIN_STATUS(NERR_BufTooSmall, 2123, "The API return buffer is too small.")
TABULON_WIN_STATUS(NERR_InternalError, 2140, "An internal error occurred.")
TABULON_WIN_STATUS(NERR_ServiceNotInstalled, 2184, "The service has not been started.")
TABULON_WIN_STATUS(NERR_GroupNotFound, 2220, "The group name could not be found.")
TABULON_WIN_STATUS(NERR_UserNotFound, 2221, "The user name could not be found.")
TABULON_WIN_STATUS(ERROR_NOT_CONNECTED, 2250, "This network connection does not exist.")
TABULON_WIN_STATUS(NERR_NetNameNotFound, 2310, "The share name does not exist.")
TABULON_WIN_STATUS(NERR_ClientNameNotFound, 2312, "No session exists with that computer name.")
TABULON_WIN_STATUS(NERR_InvalidComputer, 2351, "The computer name is not valid.")
TABULON_WIN_STATUS(NERR_DCNotFound, 2453, "Could not find domain controller for this domain.")
TABULON_WIN_STATUS(ERROR_NO_BROWSER_SERVERS_FOUND, 6118,
                   "The list of servers for this workgroup is not available at the moment.")
TABULON_WIN_STATUS(ERROR_CTX_WINSTATION_NOT_FOUND, 7022,
                   "No session with that name or number exists.")
// 8200-8260: directory-service statuses; a directory search reports them
// as HRESULTs in facility 7 (0x8007xxxx).
TABULON_WIN_STATUS(ERROR_DS_NO_ATTRIBUTE_OR_VALUE, 8202,
                   "The specified directory service attribute or value does not exist.")
TABULON_WIN_STATUS(ERROR_DS_ATTRIBUTE_TYPE_UNDEFINED, 8204,
                   "The attribute type specified to the directory service is not defined.")
TABULON_WIN_STATUS(ERROR_DS_BUSY, 8206, "The directory service is busy.")
TABULON_WIN_STATUS(ERROR_DS_UNAVAILABLE, 8207, "The directory service is unavailable.")
TABULON_WIN_STATUS(ERROR_DS_OPERATIONS_ERROR, 8224, "An operations error occurred.")
TABULON_WIN_STATUS(ERROR_DS_PROTOCOL_ERROR, 8225, "A protocol error occurred.")
TABULON_WIN_STATUS(ERROR_DS_TIMELIMIT_EXCEEDED, 8226,
                   "The time limit for this request was exceeded.")
TABULON_WIN_STATUS(ERROR_DS_SIZELIMIT_EXCEEDED, 8227,
                   "The size limit for this request was exceeded.")
TABULON_WIN_STATUS(ERROR_DS_ADMIN_LIMIT_EXCEEDED, 8228,
                   "The administrative limit for this request was exceeded.")
TABULON_WIN_STATUS(ERROR_DS_AUTH_METHOD_NOT_SUPPORTED, 8231,
                   "The authentication method is not supported.")
TABULON_WIN_STATUS(ERROR_DS_STRONG_AUTH_REQUIRED, 8232,
                   "A more secure authentication method is required for this server.")
TABULON_WIN_STATUS(ERROR_DS_INAPPROPRIATE_AUTH, 8233, "Inappropriate authentication.")
TABULON_WIN_STATUS(ERROR_DS_AUTH_UNKNOWN, 8234, "The authentication mechanism is unknown.")
TABULON_WIN_STATUS(ERROR_DS_REFERRAL, 8235, "A referral was returned from the server.")
TABULON_WIN_STATUS(ERROR_DS_UNAVAILABLE_CRIT_EXTENSION, 8236,
                   "The server does not support the requested critical extension.")
TABULON_WIN_STATUS(ERROR_DS_CONFIDENTIALITY_REQUIRED, 8237,
                   "This request requires a secure connection.")
TABULON_WIN_STATUS(ERROR_DS_INAPPROPRIATE_MATCHING, 8238, "Inappropriate matching.")
TABULON_WIN_STATUS(ERROR_DS_CONSTRAINT_VIOLATION, 8239, "A constraint violation occurred.")
TABULON_WIN_STATUS(ERROR_DS_NO_SUCH_OBJECT, 8240, "There is no such object on the server.")
TABULON_WIN_STATUS(ERROR_DS_INVALID_DN_SYNTAX, 8242, "An invalid dn syntax has been specified.")
TABULON_WIN_STATUS(ERROR_DS_UNWILLING_TO_PERFORM, 8245,
                   "The server is unwilling to process the request.")
TABULON_WIN_STATUS(ERROR_DS_SERVER_DOWN, 8250, "The server is not operational.")
TABULON_WIN_STATUS(ERROR_DS_LOCAL_ERROR, 8251, "A local error has occurred.")
TABULON_WIN_STATUS(ERROR_DS_ENCODING_ERROR, 8252, "An encoding error has occurred.")
TABULON_WIN_STATUS(ERROR_DS_DECODING_ERROR, 8253, "A decoding error has occurred.")
TABULON_WIN_STATUS(ERROR_DS_FILTER_UNKNOWN, 8254, "The search filter cannot be recognized.")
TABULON_WIN_STATUS(ERROR_DS_PARAM_ERROR, 8255, "One or more parameters are illegal.")
TABULON_WIN_STATUS(ERROR_DS_NOT_SUPPORTED, 8256, "The specified method is not supported.")
TABULON_WIN_STATUS(ERROR_DS_CLIENT_LOOP, 8259, "A client loop was detected.")
TABULON_WIN_STATUS(ERROR_DS_REFERRAL_LIMIT_EXCEEDED, 8260, "The referral limit was exceeded.")
TABULON_WIN_STATUS(WSAETIMEDOUT, 10060,
                   "The connection attempt timed out: the other side did not answer in time.")
TABULON_WIN_STATUS(WSAEHOSTUNREACH, 10065,
                   "A socket operation was attempted to an unreachable host.")
TABULON_WIN_STATUS(WSAHOST_NOT_FOUND, 11001, "No such host is known.")
// The directory interface's own results (E_ADS_*, S_ADS_*).
TABULON_WIN_STATUS(S_ADS_NOMORE_ROWS, 0x00005012, "The search has no more rows.")
// WMI: the results of its COM interfaces, with the texts its status-text
// service gives.
TABULON_WIN_STATUS(WBEM_S_TIMEDOUT, 0x00040004, "The call timed out.")
// Scheduled tasks: the task scheduler's status codes and the COM results
// (HRESULTs, Windows statuses in facility 7 as 0x8007xxxx) of its
// interfaces.
TABULON_WIN_STATUS(SCHED_S_TASK_READY, 0x00041300,
                   "The task is ready to run at its next scheduled time.")
TABULON_WIN_STATUS(SCHED_S_TASK_RUNNING, 0x00041301, "The task is currently running.")
TABULON_WIN_STATUS(SCHED_S_TASK_DISABLED, 0x00041302,
                   "The task will not run at the scheduled times because it has been disabled.")
TABULON_WIN_STATUS(SCHED_S_TASK_HAS_NOT_RUN, 0x00041303, "The task has not yet run.")
TABULON_WIN_STATUS(SCHED_S_TASK_NO_MORE_RUNS, 0x00041304,
                   "There are no more runs scheduled for this task.")
TABULON_WIN_STATUS(SCHED_S_TASK_NOT_SCHEDULED, 0x00041305,
                   "One or more of the properties needed to run this task on a schedule have "
                   "not been set.")
TABULON_WIN_STATUS(SCHED_S_TASK_TERMINATED, 0x00041306,
                   "The last run of the task was terminated by the user.")
TABULON_WIN_STATUS(E_NOTIMPL, 0x80004001, "Not implemented.")
TABULON_WIN_STATUS(E_NOINTERFACE, 0x80004002, "No such interface is supported.")
TABULON_WIN_STATUS(E_FAIL, 0x80004005, "Unspecified error.")
TABULON_WIN_STATUS(E_ADS_BAD_PATHNAME, 0x80005000, "An invalid directory pathname was passed.")
TABULON_WIN_STATUS(E_ADS_INVALID_DOMAIN_OBJECT, 0x80005001,
                   "An unknown directory domain object was requested.")
TABULON_WIN_STATUS(E_ADS_INVALID_USER_OBJECT, 0x80005002,
                   "An unknown directory user object was requested.")
TABULON_WIN_STATUS(E_ADS_INVALID_COMPUTER_OBJECT, 0x80005003,
                   "An unknown directory computer object was requested.")
TABULON_WIN_STATUS(E_ADS_UNKNOWN_OBJECT, 0x80005004, "An unknown directory object was requested.")
TABULON_WIN_STATUS(E_ADS_PROPERTY_NOT_SET, 0x80005005,
                   "The specified directory property was not set.")
TABULON_WIN_STATUS(E_ADS_PROPERTY_NOT_SUPPORTED, 0x80005006,
                   "The specified directory property is not supported.")
TABULON_WIN_STATUS(E_ADS_PROPERTY_INVALID, 0x80005007,
                   "The specified directory property is invalid.")
TABULON_WIN_STATUS(E_ADS_BAD_PARAMETER, 0x80005008, "One or more input parameters are invalid.")
TABULON_WIN_STATUS(E_ADS_OBJECT_UNBOUND, 0x80005009,
                   "The specified directory object is not bound to a remote resource.")
TABULON_WIN_STATUS(E_ADS_PROPERTY_NOT_MODIFIED, 0x8000500A,
                   "The specified directory object has not been modified.")
TABULON_WIN_STATUS(E_ADS_PROPERTY_MODIFIED, 0x8000500B,
                   "The specified directory object has been modified.")
TABULON_WIN_STATUS(
    E_ADS_CANT_CONVERT_DATATYPE, 0x8000500C,
    "The directory datatype cannot be converted to or from a native directory datatype.")
TABULON_WIN_STATUS(E_ADS_PROPERTY_NOT_FOUND, 0x8000500D,
                   "The directory property cannot be found in the cache.")
TABULON_WIN_STATUS(E_ADS_OBJECT_EXISTS, 0x8000500E, "The directory object exists.")
TABULON_WIN_STATUS(E_ADS_SCHEMA_VIOLATION, 0x8000500F,
                   "The attempted action violates the directory service schema rules.")
TABULON_WIN_STATUS(E_ADS_COLUMN_NOT_SET, 0x80005010,
                   "The specified column in the directory was not set.")
TABULON_WIN_STATUS(E_ADS_INVALID_FILTER, 0x80005014, "The search filter is invalid.")
TABULON_WIN_STATUS(REGDB_E_CLASSNOTREG, 0x80040154, "The class is not registered.")
TABULON_WIN_STATUS(WBEM_E_FAILED, 0x80041001, "Generic failure")
TABULON_WIN_STATUS(WBEM_E_NOT_FOUND, 0x80041002, "Not found")
TABULON_WIN_STATUS(WBEM_E_ACCESS_DENIED, 0x80041003, "Access denied")
TABULON_WIN_STATUS(WBEM_E_PROVIDER_FAILURE, 0x80041004, "Provider failure")
TABULON_WIN_STATUS(WBEM_E_TYPE_MISMATCH, 0x80041005, "Type mismatch")
TABULON_WIN_STATUS(WBEM_E_INVALID_PARAMETER, 0x80041008, "Invalid parameter")
TABULON_WIN_STATUS(WBEM_E_NOT_SUPPORTED, 0x8004100C, "Not supported")
TABULON_WIN_STATUS(WBEM_E_INVALID_NAMESPACE, 0x8004100E, "Invalid namespace")
TABULON_WIN_STATUS(WBEM_E_INVALID_CLASS, 0x80041010, "Invalid class")
TABULON_WIN_STATUS(WBEM_E_TRANSPORT_FAILURE, 0x80041015, "Transport failure")
TABULON_WIN_STATUS(WBEM_E_INVALID_QUERY, 0x80041017, "Invalid query")
TABULON_WIN_STATUS(WBEM_E_INVALID_QUERY_TYPE, 0x80041018, "Invalid query type")
TABULON_WIN_STATUS(WBEM_E_INVALID_PROPERTY, 0x80041031, "Invalid property")
TABULON_WIN_STATUS(WBEM_E_CALL_CANCELLED, 0x80041032, "Call cancelled")
TABULON_WIN_STATUS(WBEM_E_TIMED_OUT, 0x80041069, "Timed out")
TABULON_WIN_STATUS(SCHED_E_TRIGGER_NOT_FOUND, 0x80041309, "A task's trigger was not found.")
TABULON_WIN_STATUS(SCHED_E_SERVICE_NOT_INSTALLED, 0x80041315,
                   "The Task Scheduler service is not installed on this computer.")
TABULON_WIN_STATUS(E_FILE_NOT_FOUND, 0x80070002, "The file could not be found.")
TABULON_WIN_STATUS(E_ACCESSDENIED, 0x80070005, "Access was denied.")
TABULON_WIN_STATUS(E_NOT_SUPPORTED, 0x80070032, "The request is not supported.")
TABULON_WIN_STATUS(E_BAD_NETPATH, 0x80070035, "The network path could not be found.")
TABULON_WIN_STATUS(E_INVALIDARG, 0x80070057, "A parameter is not valid.")
TABULON_WIN_STATUS(E_RPC_SERVER_UNAVAILABLE, 0x800706BA, "The RPC server is not available.")
TABULON_WIN_STATUS(E_REQUEST_REFUSED, 0x800710E0,
                   "The operator or administrator has refused the request.")
// NTSTATUS values, as the LSA calls and the SMB and RPC clients report them.
// No Windows message text exists for them, so their texts are their own.
TABULON_WIN_STATUS(STATUS_INVALID_INFO_CLASS, 0xC0000003,
                   "The information class is not valid for the object.")
TABULON_WIN_STATUS(STATUS_INVALID_HANDLE, 0xC0000008, "A handle that is not valid was given.")
TABULON_WIN_STATUS(STATUS_INVALID_PARAMETER, 0xC000000D,
                   "A parameter that is not valid was passed to a service or function.")
TABULON_WIN_STATUS(STATUS_END_OF_FILE, 0xC0000011, "The end of the file has been reached.")
TABULON_WIN_STATUS(STATUS_NO_MEMORY, 0xC0000017,
                   "Not enough memory or paging file quota is available to complete the "
                   "operation.")
TABULON_WIN_STATUS(STATUS_ACCESS_DENIED, 0xC0000022,
                   "Access to the object was requested but not granted.")
TABULON_WIN_STATUS(STATUS_BUFFER_TOO_SMALL, 0xC0000023,
                   "The buffer is too small for the entry; nothing was written to it.")
TABULON_WIN_STATUS(STATUS_OBJECT_NAME_NOT_FOUND, 0xC0000034, "The object name was not found.")
TABULON_WIN_STATUS(STATUS_NO_LOGON_SERVERS, 0xC000005E,
                   "No logon server is available to serve the logon request.")
TABULON_WIN_STATUS(STATUS_NO_SUCH_LOGON_SESSION, 0xC000005F,
                   "The logon session does not exist; it may have ended already.")
TABULON_WIN_STATUS(STATUS_NO_SUCH_PRIVILEGE, 0xC0000060, "The privilege does not exist.")
TABULON_WIN_STATUS(STATUS_NO_SUCH_USER, 0xC0000064, "The account does not exist.")
TABULON_WIN_STATUS(STATUS_NO_SUCH_GROUP, 0xC0000066, "The group does not exist.")
TABULON_WIN_STATUS(STATUS_WRONG_PASSWORD, 0xC000006A, "The current password given is not correct.")
TABULON_WIN_STATUS(STATUS_LOGON_FAILURE, 0xC000006D,
                   "The logon attempt failed: the user name or the authentication information "
                   "is wrong.")
TABULON_WIN_STATUS(STATUS_ACCOUNT_RESTRICTION, 0xC000006E,
                   "The user name and authentication information are valid, but a restriction "
                   "of the account prevented the logon.")
TABULON_WIN_STATUS(STATUS_INVALID_LOGON_HOURS, 0xC000006F,
                   "The account has time restrictions and may not log on now.")
TABULON_WIN_STATUS(STATUS_INVALID_WORKSTATION, 0xC0000070,
                   "The account may not log on from this workstation.")
TABULON_WIN_STATUS(STATUS_PASSWORD_EXPIRED, 0xC0000071, "The password of the account has expired.")
TABULON_WIN_STATUS(STATUS_ACCOUNT_DISABLED, 0xC0000072,
                   "The account is disabled and may not log on.")
TABULON_WIN_STATUS(STATUS_NONE_MAPPED, 0xC0000073, "None of the names or SIDs could be translated.")
TABULON_WIN_STATUS(STATUS_INVALID_SID, 0xC0000078, "The SID structure is not valid.")
TABULON_WIN_STATUS(STATUS_PIPE_NOT_AVAILABLE, 0xC00000AC,
                   "No instance of the named pipe is listening.")
TABULON_WIN_STATUS(STATUS_PIPE_BUSY, 0xC00000AE, "The named pipe is busy.")
TABULON_WIN_STATUS(STATUS_PIPE_DISCONNECTED, 0xC00000B0, "The named pipe is disconnected.")
TABULON_WIN_STATUS(STATUS_IO_TIMEOUT, 0xC00000B5,
                   "The I/O operation did not complete before its time-out expired.")
TABULON_WIN_STATUS(STATUS_NOT_SUPPORTED, 0xC00000BB, "The request is not supported.")
TABULON_WIN_STATUS(STATUS_BAD_NETWORK_PATH, 0xC00000BE, "The network path cannot be found.")
TABULON_WIN_STATUS(STATUS_UNEXPECTED_NETWORK_ERROR, 0xC00000C4,
                   "An unexpected network error occurred.")
TABULON_WIN_STATUS(STATUS_NETWORK_NAME_DELETED, 0xC00000C9, "The network name was deleted.")
TABULON_WIN_STATUS(STATUS_NETWORK_ACCESS_DENIED, 0xC00000CA, "Network access was denied.")
TABULON_WIN_STATUS(STATUS_BAD_NETWORK_NAME, 0xC00000CC,
                   "The share name cannot be found on the remote server.")
TABULON_WIN_STATUS(STATUS_NO_SUCH_DOMAIN, 0xC00000DF, "The domain does not exist.")
TABULON_WIN_STATUS(STATUS_CANCELLED, 0xC0000120, "The I/O request was cancelled.")
TABULON_WIN_STATUS(STATUS_TIME_DIFFERENCE_AT_DC, 0xC0000133,
                   "The clocks of the domain controller and this computer differ by too much.")
TABULON_WIN_STATUS(STATUS_PIPE_BROKEN, 0xC000014B,
                   "The pipe operation failed: the other end of the pipe has been closed.")
TABULON_WIN_STATUS(STATUS_NO_SUCH_ALIAS, 0xC0000151, "The local group does not exist.")
TABULON_WIN_STATUS(STATUS_LOGON_TYPE_NOT_GRANTED, 0xC000015B,
                   "The user has not been granted the requested type of logon.")
TABULON_WIN_STATUS(STATUS_CONNECTION_DISCONNECTED, 0xC000020C,
                   "The transport connection is disconnected.")
TABULON_WIN_STATUS(STATUS_CONNECTION_RESET, 0xC000020D, "The transport connection was reset.")
TABULON_WIN_STATUS(STATUS_PASSWORD_MUST_CHANGE, 0xC0000224,
                   "The password must be changed before the first logon.")
TABULON_WIN_STATUS(STATUS_ACCOUNT_LOCKED_OUT, 0xC0000234,
                   "The account is locked out after too many failed logon or password change "
                   "attempts.")
TABULON_WIN_STATUS(STATUS_CONNECTION_REFUSED, 0xC0000236,
                   "The remote system refused the transport connection.")
TABULON_WIN_STATUS(STATUS_NETWORK_UNREACHABLE, 0xC000023C,
                   "The transport cannot reach the remote network.")
TABULON_WIN_STATUS(STATUS_HOST_UNREACHABLE, 0xC000023D,
                   "The transport cannot reach the remote system.")
TABULON_WIN_STATUS(STATUS_CONNECTION_ABORTED, 0xC0000241,
                   "This system aborted the transport connection.")
TABULON_WIN_STATUS(RPC_NT_UNKNOWN_IF, 0xC0020012, "The interface is unknown.")
TABULON_WIN_STATUS(RPC_NT_SERVER_UNAVAILABLE, 0xC0020017, "The RPC server is not available.")
TABULON_WIN_STATUS(RPC_NT_SERVER_TOO_BUSY, 0xC0020018,
                   "The RPC server is too busy to complete this operation.")
TABULON_WIN_STATUS(RPC_NT_CALL_FAILED, 0xC002001B, "The remote procedure call failed.")
TABULON_WIN_STATUS(RPC_NT_CALL_FAILED_DNE, 0xC002001C,
                   "The remote procedure call failed and did not run.")
TABULON_WIN_STATUS(RPC_NT_PROTOCOL_ERROR, 0xC002001D, "An RPC protocol error occurred.")
TABULON_WIN_STATUS(RPC_NT_UNSUPPORTED_TYPE, 0xC0020021, "The type UUID is not supported.")
TABULON_WIN_STATUS(RPC_NT_INVALID_BOUND, 0xC0020023, "The array bounds are invalid.")
TABULON_WIN_STATUS(RPC_NT_PROCNUM_OUT_OF_RANGE, 0xC002002E,
                   "The procedure number is out of range.")
TABULON_WIN_STATUS(RPC_NT_CALL_CANCELLED, 0xC0020050, "The remote procedure call was cancelled.")
TABULON_WIN_STATUS(RPC_NT_COMM_FAILURE, 0xC0020052, "The communication with the server failed.")
TABULON_WIN_STATUS(RPC_NT_SEC_PKG_ERROR, 0xC0020057,
                   "An error specific to the security package occurred.")
TABULON_WIN_STATUS(RPC_NT_SS_CONTEXT_MISMATCH, 0xC0030005,
                   "The context handle matches no known context handle.")
TABULON_WIN_STATUS(RPC_NT_NULL_REF_POINTER, 0xC0030009,
                   "A null reference pointer was passed to the stub.")
TABULON_WIN_STATUS(RPC_NT_ENUM_VALUE_OUT_OF_RANGE, 0xC003000A,
                   "The enumeration value is out of range.")
TABULON_WIN_STATUS(RPC_NT_BYTE_COUNT_TOO_SMALL, 0xC003000B, "The byte count is too small.")
TABULON_WIN_STATUS(RPC_NT_BAD_STUB_DATA, 0xC003000C, "The stub received bad data.")
