#include "platform/win32/file_system.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/text.h"
#include "platform/win32/wide.h"

// The FileSystem methods share their names with the kernel32 macros that
// pick the W or A form; the calls below name the W functions themselves.
#undef GetDiskFreeSpaceEx
#undef GetVolumeInformation

namespace tabulon::platform {
namespace {

// Windows takes names of at most MAX_PATH + 1 units; a caller's larger
// buffer changes nothing but the memory it would take.
constexpr std::uint32_t kMaxNameBuffer = MAX_PATH + 1;

}  // namespace

DiskFreeSpaceResult Win32FileSystem::GetDiskFreeSpaceEx(std::string_view directory) {
  DiskFreeSpaceResult result;
  ULARGE_INTEGER available{};
  ULARGE_INTEGER total{};
  ULARGE_INTEGER free{};
  if (!::GetDiskFreeSpaceExW(win32::ToWide(directory).c_str(), &available, &total, &free)) {
    result.status = ::GetLastError();
    return result;
  }
  result.free_bytes_available = available.QuadPart;
  result.total_bytes = total.QuadPart;
  result.total_free_bytes = free.QuadPart;
  return result;
}

VolumeInformationResult Win32FileSystem::GetVolumeInformation(std::string_view root_path,
                                                              std::uint32_t volume_name_size,
                                                              std::uint32_t file_system_name_size) {
  VolumeInformationResult result;
  // The caller's sizes are passed on, so a name that does not fit fails the
  // call just as it would for the caller.
  std::vector<wchar_t> label(std::min(volume_name_size, kMaxNameBuffer));
  std::vector<wchar_t> type(std::min(file_system_name_size, kMaxNameBuffer));
  DWORD serial = 0;
  DWORD max_component = 0;
  DWORD flags = 0;
  if (!::GetVolumeInformationW(
          win32::ToWide(root_path).c_str(), label.empty() ? nullptr : label.data(),
          static_cast<DWORD>(label.size()), &serial, &max_component, &flags,
          type.empty() ? nullptr : type.data(), static_cast<DWORD>(type.size()))) {
    result.status = ::GetLastError();
    return result;
  }
  if (!label.empty()) result.volume_name = win32::ToUtf8(label.data());
  if (!type.empty()) result.file_system_name = win32::ToUtf8(type.data());
  result.serial_number = serial;
  result.max_component_length = max_component;
  result.file_system_flags = flags;
  return result;
}

std::string Win32FileSystem::LocalPathOf(std::string_view path) const {
  if (!IsUncPath(path)) return std::string(path);
  for (const LocalShare& share : local_shares_) {
    const std::string_view unc = share.unc;
    if (!text::StartsWithNoCase(path, unc)) continue;
    const std::string_view rest = path.substr(unc.size());
    if (!rest.empty() && rest[0] != '\\' && rest[0] != '/') continue;
    return share.folder + std::string(rest);
  }
  return std::string(path);
}

}  // namespace tabulon::platform
