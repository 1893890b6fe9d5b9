#include "platform/file_identity.h"

#include <windows.h>

#include <optional>

#include "platform/text.h"
#include "platform/win32/handle.h"
#include "platform/win32/wide.h"

// <windows.h> defines the ERROR_* names as macros with the numbers that
// platform/status.h gives them, so the statuses below are written bare.
namespace tabulon::platform {
namespace {

std::wstring FullPath(const std::wstring& path) {
  const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring out(size, L'\0');
  const DWORD n = ::GetFullPathNameW(path.c_str(), size, out.data(), nullptr);
  if (n == 0 || n >= size) return path;
  out.resize(n);
  return out;
}

// Attributes only, so that a file open elsewhere without sharing still
// answers; directories open only with backup semantics.
HANDLE OpenForQuery(const std::wstring& path) {
  return ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The path with every link resolved, without the "\\?\" prefix the call puts
// before it ("\\?\UNC\server" is "\\server").
std::optional<std::wstring> FinalPath(HANDLE handle) {
  constexpr DWORD kFlags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
  const DWORD size = ::GetFinalPathNameByHandleW(handle, nullptr, 0, kFlags);
  if (size == 0) return std::nullopt;
  std::wstring out(size, L'\0');
  const DWORD n = ::GetFinalPathNameByHandleW(handle, out.data(), size, kFlags);
  if (n == 0 || n >= size) return std::nullopt;
  out.resize(n);
  if (out.starts_with(L"\\\\?\\UNC\\")) return L"\\" + out.substr(7);
  if (out.starts_with(L"\\\\?\\")) return out.substr(4);
  return out;
}

// How much of a full path is its root: "C:\" or "\\server\share\".
std::size_t RootLength(const std::wstring& full) {
  if (!full.starts_with(L"\\\\")) return 3;
  std::size_t at = 2;
  for (int separators = 0; separators < 2 && at != std::wstring::npos; ++separators) {
    at = full.find_first_of(L"\\/", at + 1);
  }
  return at == std::wstring::npos ? full.size() : at + 1;
}

// The existing part of a full path resolved, the rest appended as it is.
std::wstring Canonical(const std::wstring& full) {
  const std::size_t root = RootLength(full);
  std::wstring head = full;
  std::wstring tail;
  for (;;) {
    const win32::Handle handle(OpenForQuery(head));
    if (handle.valid()) {
      if (const auto final = FinalPath(handle.get())) {
        const bool joined = final->ends_with(L'\\') || tail.empty() || tail.starts_with(L'\\');
        return *final + (joined ? L"" : L"\\") + tail;
      }
    }
    const std::size_t cut = head.find_last_of(L"\\/");
    if (cut == std::wstring::npos || cut < root) return full;
    tail = head.substr(cut) + tail;
    head.resize(cut == root - 1 ? root : cut);
    if (cut == root - 1) tail.erase(0, 1);
  }
}

}  // namespace

FileIdentity IdentifyFile(const std::string& path) {
  FileIdentity id;
  const std::wstring full = FullPath(win32::ToWide(path));
  id.canonical = win32::ToUtf8(Canonical(full));
  if (id.canonical.empty()) id.canonical = path;
  const win32::Handle handle(OpenForQuery(full));
  if (!handle.valid()) return id;
  id.exists = true;
  // Devices (NUL, CON) and pipes: writing to them destroys nothing.
  id.special = ::GetFileType(handle.get()) != FILE_TYPE_DISK;
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileInformationByHandle(handle.get(), &info)) {
    id.device = info.dwVolumeSerialNumber;
    id.inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  }
  return id;
}

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
  if (a.exists && b.exists) return a.device == b.device && a.inode == b.inode;
  // Windows file names do not differ by case alone.
  return text::EqualsNoCase(a.canonical, b.canonical);
}

win::Status CheckRegularFile(const std::string& path) {
  const win32::Handle handle(OpenForQuery(win32::ToWide(path)));
  if (!handle.valid()) return ERROR_SUCCESS;  // opening reports why
  if (::GetFileType(handle.get()) != FILE_TYPE_DISK) return ERROR_ACCESS_DENIED;
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileInformationByHandle(handle.get(), &info) &&
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return ERROR_ACCESS_DENIED;
  }
  return ERROR_SUCCESS;
}

FileStamp StampFile(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(win32::ToWide(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
    return {};
  }
  // FILETIME: 100-nanosecond units.
  const auto join = [](DWORD high, DWORD low) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
  };
  return {true, join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime),
          join(data.nFileSizeHigh, data.nFileSizeLow)};
}

}  // namespace tabulon::platform
