#pragma once
// Volumes and files seen through a path, after the kernel32 calls
// GetDiskFreeSpaceExW, GetVolumeInformationW, FindFirstFileW/FindNextFileW
// and ReadFile. Paths are Windows paths: "C:\" or a share "\\SERVER\C$\".
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tabulon::platform {

struct DiskFreeSpaceResult {
  win::Status status = win::ERROR_SUCCESS;
  std::uint64_t free_bytes_available = 0;  // to the caller, after quotas
  std::uint64_t total_bytes = 0;
  std::uint64_t total_free_bytes = 0;
};

struct VolumeInformationResult {
  win::Status status = win::ERROR_SUCCESS;
  std::string volume_name;  // the label
  std::uint32_t serial_number = 0;
  std::uint32_t max_component_length = 0;
  std::uint32_t file_system_flags = 0;  // FILE_CASE_SENSITIVE_SEARCH ...
  std::string file_system_name;         // "NTFS", "FAT32" ...
};

// File attribute bits of WIN32_FIND_DATAW.
inline constexpr std::uint32_t kFileAttributeReadOnly = 0x1;
inline constexpr std::uint32_t kFileAttributeHidden = 0x2;
inline constexpr std::uint32_t kFileAttributeSystem = 0x4;
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10;
inline constexpr std::uint32_t kFileAttributeArchive = 0x20;
inline constexpr std::uint32_t kFileAttributeNormal = 0x80;
inline constexpr std::uint32_t kFileAttributeTemporary = 0x100;
inline constexpr std::uint32_t kFileAttributeCompressed = 0x800;
inline constexpr std::uint32_t kFileAttributeOffline = 0x1000;
inline constexpr std::uint32_t kFileAttributeEncrypted = 0x4000;

// WIN32_FIND_DATAW as the exports read it. Times are FILETIMEs (100 ns
// units since 1601, UTC).
struct FindData {
  std::uint32_t attributes = 0;
  std::uint64_t creation_time = 0;
  std::uint64_t last_access_time = 0;
  std::uint64_t last_write_time = 0;
  std::uint64_t size = 0;  // nFileSizeHigh * 2^32 + nFileSizeLow
  std::string name;
  // Which file the item is, as FILE_ID_INFO says it: the volume and the
  // file's id on it (a local file's device and inode, the file id an SMB
  // server gives). Two items with the same non-zero `file_id` on one volume
  // are one file, also when links lead to it by two names; 0 where the
  // backend does not know.
  std::uint64_t volume_id = 0;
  std::uint64_t file_id = 0;
};

using FindHandle = std::uint64_t;

struct FindFirstResult {
  win::Status status = win::ERROR_SUCCESS;  // ERROR_FILE_NOT_FOUND: nothing matches
  FindHandle handle = 0;
  FindData data;
  // Items of the listing left out because their names cannot be part of a
  // Windows path (a "\" in a Linux file name): a path built from one would
  // name another file. Given with any status, also when nothing else matched.
  std::vector<std::string> unusable_names;
};

struct FindNextResult {
  win::Status status = win::ERROR_SUCCESS;  // ERROR_NO_MORE_FILES at the end
  FindData data;
};

struct ReadRangeResult {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<std::uint8_t> bytes;  // fewer than asked at the end of the file
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // GetDiskFreeSpaceExW on any directory of the volume; a share needs its
  // trailing backslash.
  virtual DiskFreeSpaceResult GetDiskFreeSpaceEx(std::string_view directory) = 0;
  // GetVolumeInformationW on the root of a volume or share, trailing
  // backslash included. The sizes are those of the caller's buffers in
  // UTF-16 units, terminator included: a label or file-system name that does
  // not fit fails the whole call with ERROR_MORE_DATA, as Windows does.
  virtual VolumeInformationResult GetVolumeInformation(std::string_view root_path,
                                                       std::uint32_t volume_name_size,
                                                       std::uint32_t file_system_name_size) = 0;

  // FindFirstFileW on "directory\pattern": "*" and "?" match without regard
  // to case, "*.*" matches every name. A directory lists "." and ".." first,
  // then its items in name order. A handle that was returned must be closed.
  // A listing that broke off (a server that stopped answering, a cancel)
  // gives the items read before, and then FindNextFile fails with the
  // listing's status instead of ERROR_NO_MORE_FILES, as it does on Windows;
  // with no items read, FindFirstFile fails with it.
  virtual FindFirstResult FindFirstFile(std::string_view pattern) {
    (void)pattern;
    return {win::ERROR_NOT_SUPPORTED, 0, {}, {}};
  }
  virtual FindNextResult FindNextFile(FindHandle handle) {
    (void)handle;
    return {win::ERROR_INVALID_HANDLE, {}};
  }
  virtual void FindClose(FindHandle handle) { (void)handle; }
  // CreateFileW for reading, then ReadFile of `size` bytes at `offset`.
  virtual ReadRangeResult ReadFileRange(std::string_view path, std::uint64_t offset,
                                        std::size_t size) {
    (void)path;
    (void)offset;
    (void)size;
    return {win::ERROR_NOT_SUPPORTED, {}};
  }
};

// Whether `name` matches a FindFirstFileW pattern.
bool MatchesFindPattern(std::string_view pattern, std::string_view name);

}  // namespace tabulon::platform
