#include "platform/win_error.h"

#include <cerrno>

#include "platform/status_table.h"

namespace tabulon::win {

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
  const StatusRow* row = FindStatus(code);
  return row ? std::string(row->text) : NativeMessageText(code);
}

}  // namespace tabulon::win
