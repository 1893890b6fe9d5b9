#include "platform/win32/handle.h"

#include <windows.h>

namespace tabulon::platform::win32 {

Handle::~Handle() {
  if (valid()) ::CloseHandle(handle_);
}

bool Handle::valid() const {
  return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE;
}

}  // namespace tabulon::platform::win32
