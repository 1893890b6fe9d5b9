#include "platform/user_directories.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "platform/win32/wide.h"

namespace tabulon::platform {
namespace {

// The known folder's path; empty when the profile has none. Not verified,
// so a folder that does not exist yet is still named, as XDG_* would be.
std::string KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  const HRESULT hr = ::SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path);
  std::string out = SUCCEEDED(hr) && path != nullptr ? win32::ToUtf8(path) : std::string();
  // The shell allocates the path even when it fails.
  ::CoTaskMemFree(path);
  return out;
}

}  // namespace

// The application data directory, with the user's configurations and
// template files, is in the roaming application data (%APPDATA%), where
// Windows programs keep what follows the user from computer to computer;
// the settings (window places, the last configuration, recent files) stay
// on this computer (%LOCALAPPDATA%).
std::string UserConfigHome() {
  return KnownFolder(FOLDERID_LocalAppData);
}

std::string UserDataHome() {
  return KnownFolder(FOLDERID_RoamingAppData);
}

}  // namespace tabulon::platform
