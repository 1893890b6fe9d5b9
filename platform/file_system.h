#pragma once
// Volumes seen through a path, after the kernel32 calls GetDiskFreeSpaceExW
// and GetVolumeInformationW. Paths are Windows paths: "C:\" or a share
// "\\SERVER\C$\".
#include <cstdint>
#include <string>
#include <string_view>

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
};

}  // namespace tabulon::platform
