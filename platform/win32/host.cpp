#include "platform/host.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace tabulon::platform {

std::optional<std::string> LocalHostName() {
  // The DNS host name, as gethostname gives it; the NetBIOS name is the
  // upper-case, 15-character form of it.
  DWORD size = 0;
  ::GetComputerNameExW(ComputerNameDnsHostname, nullptr, &size);
  if (::GetLastError() != ERROR_MORE_DATA || size == 0) return std::nullopt;
  std::wstring name(size, L'\0');
  if (!::GetComputerNameExW(ComputerNameDnsHostname, name.data(), &size)) return std::nullopt;
  name.resize(size);
  return win32::ToUtf8(name);
}

std::uint32_t CurrentProcessId() {
  return ::GetCurrentProcessId();
}

}  // namespace tabulon::platform
