#include "platform/win32/last_error.h"

#include <windows.h>

namespace tabulon::platform::win32 {

win::Status FailureStatus() {
  const DWORD error = ::GetLastError();
  return error != ERROR_SUCCESS ? error : ERROR_NOT_SUPPORTED;
}

}  // namespace tabulon::platform::win32
