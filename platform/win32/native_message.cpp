// The project's headers first: <windows.h> makes the status names macros.
#include "platform/win32/wide.h"
#include "platform/win_error.h"

#include <windows.h>

#include <string>

namespace tabulon::win {

// The system's message table, and for the network management statuses
// (2100-2999) netmsg.dll's, as the system's own tools look them up.
std::string NativeMessageText(Status code) {
  constexpr Status kFirstNetworkStatus = 2100;
  constexpr Status kLastNetworkStatus = 2999;
  DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK;
  HMODULE netmsg = nullptr;
  if (code >= kFirstNetworkStatus && code <= kLastNetworkStatus) {
    netmsg = ::LoadLibraryExW(L"netmsg.dll", nullptr,
                              LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (netmsg != nullptr) flags |= FORMAT_MESSAGE_FROM_HMODULE;
  }
  wchar_t* buffer = nullptr;
  const DWORD length =
      ::FormatMessageW(flags, netmsg, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = length > 0 ? platform::win32::ToUtf8(std::wstring_view(buffer, length)) : "";
  if (buffer != nullptr) ::LocalFree(buffer);
  if (netmsg != nullptr) ::FreeLibrary(netmsg);
  return text;
}

}  // namespace tabulon::win
