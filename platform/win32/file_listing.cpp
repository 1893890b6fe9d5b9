// The file calls of the Windows backend: directory listings and byte ranges.
#include "platform/win32/file_system.h"

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/win32/handle.h"
#include "platform/win32/wide.h"

// The FileSystem methods share their names with the kernel32 macros that
// pick the W or A form; the calls below name the W functions themselves.
#undef FindFirstFile
#undef FindNextFile

// <windows.h> defines the ERROR_* names as macros with the numbers that
// platform/status.h gives them, so the statuses below are written bare.
namespace tabulon::platform {
namespace {

// One call of the directory query fills this much; the entries need 8-byte
// alignment, which 64-bit elements give.
constexpr std::size_t kListingBufferBytes = 64 * 1024;

std::uint64_t Unsigned(const LARGE_INTEGER& value) {
  return static_cast<std::uint64_t>(value.QuadPart);
}

// The folder to open for "directory\pattern": "C:" alone would be the
// current folder of drive C, and no folder at all the current folder.
std::wstring FolderOf(std::string_view local_pattern, std::string_view directory) {
  std::string folder(directory);
  if (folder.empty()) folder = local_pattern.find_first_of("\\/") == 0 ? "" : ".";
  if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
  return win32::ToWide(folder);
}

FindData DataOf(const FILE_ID_BOTH_DIR_INFO& entry, std::uint64_t volume) {
  FindData data;
  data.name =
      win32::ToUtf8(std::wstring_view(entry.FileName, entry.FileNameLength / sizeof(wchar_t)));
  data.attributes = entry.FileAttributes;
  const bool directory = (entry.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  data.size = directory ? 0 : Unsigned(entry.EndOfFile);
  data.creation_time = Unsigned(entry.CreationTime);
  data.last_access_time = Unsigned(entry.LastAccessTime);
  data.last_write_time = Unsigned(entry.LastWriteTime);
  data.volume_id = volume;
  data.file_id = Unsigned(entry.FileId);
  return data;
}

}  // namespace

FindFirstResult Win32FileSystem::FindFirstFile(std::string_view pattern) {
  const std::string local = LocalPathOf(pattern);
  const FindPattern split = SplitFindPattern(local);
  // The folder's own handle lists it with the file ids FindFirstFileW
  // leaves out.
  const win32::Handle folder(
      ::CreateFileW(FolderOf(local, split.directory).c_str(), FILE_LIST_DIRECTORY,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder.valid()) {
    const DWORD error = ::GetLastError();
    // The argument names a folder: Windows says the path is missing.
    return {error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error, 0, {}, {}};
  }
  BY_HANDLE_FILE_INFORMATION self_info{};
  if (!::GetFileInformationByHandle(folder.get(), &self_info)) {
    return {::GetLastError(), 0, {}, {}};
  }
  if ((self_info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return {ERROR_PATH_NOT_FOUND, 0, {}, {}};
  }
  const std::uint64_t volume = self_info.dwVolumeSerialNumber;
  std::vector<FindData> items;
  FindData self;
  bool dots = false;
  // The first error that broke the listing off; the items read are kept.
  DWORD error = ERROR_SUCCESS;
  std::vector<std::uint64_t> buffer(kListingBufferBytes / sizeof(std::uint64_t));
  FILE_INFO_BY_HANDLE_CLASS query = FileIdBothDirectoryRestartInfo;
  for (;;) {
    if (!::GetFileInformationByHandleEx(folder.get(), query, buffer.data(),
                                        static_cast<DWORD>(kListingBufferBytes))) {
      error = ::GetLastError();
      if (error == ERROR_NO_MORE_FILES) error = ERROR_SUCCESS;
      break;
    }
    query = FileIdBothDirectoryInfo;
    const auto* at = reinterpret_cast<const unsigned char*>(buffer.data());
    for (;;) {
      const auto& entry = *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
      FindData data = DataOf(entry, volume);
      if (data.name == ".") {
        // Roots have no "." and ".."; elsewhere they lead the listing.
        dots = true;
        self = std::move(data);
      } else if (data.name != ".." && MatchesFindPattern(split.pattern, data.name)) {
        items.push_back(std::move(data));
      }
      if (entry.NextEntryOffset == 0) break;
      at += entry.NextEntryOffset;
    }
  }
  std::vector<std::string> unusable = TakeUnusableNames(items);
  OrderListing(items, split.pattern, dots, self);
  FindFirstResult first = listings_.Start(std::move(items), error);
  first.unusable_names = std::move(unusable);
  return first;
}

FindNextResult Win32FileSystem::FindNextFile(FindHandle handle) {
  return listings_.Next(handle);
}

void Win32FileSystem::FindClose(FindHandle handle) {
  listings_.Close(handle);
}

ReadRangeResult Win32FileSystem::ReadFileRange(std::string_view path, std::uint64_t offset,
                                               std::size_t size) {
  // A folder does not open without backup semantics: ERROR_ACCESS_DENIED,
  // as Windows answers ReadFile's callers.
  const win32::Handle file(::CreateFileW(win32::ToWide(LocalPathOf(path)).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return {::GetLastError(), {}};
  ReadRangeResult result;
  result.bytes.resize(size);
  std::size_t got = 0;
  while (got < size) {
    // Positioned reads: the offset rides in the OVERLAPPED of a
    // synchronous handle.
    const std::uint64_t at = offset + got;
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(at & 0xFFFFFFFF);
    position.OffsetHigh = static_cast<DWORD>(at >> 32);
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - got, 1u << 30));
    DWORD n = 0;
    if (!::ReadFile(file.get(), result.bytes.data() + got, want, &n, &position)) {
      const DWORD error = ::GetLastError();
      if (error != ERROR_HANDLE_EOF) result.status = error;
      break;
    }
    if (n == 0) break;
    got += n;
  }
  result.bytes.resize(got);
  return result;
}

}  // namespace tabulon::platform
