#pragma once
// Disk space and volume information of local paths through statvfs and the
// process's mount table. No network redirector stands behind it: share paths
// ("\\SERVER\C$\") answer ERROR_BAD_NETPATH and drive paths ("C:\")
// ERROR_PATH_NOT_FOUND.
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tabulon::platform {

class PosixFileSystem final : public FileSystem {
 public:
  // `mount_table` is read for file-system names, in /proc/self/mountinfo
  // form.
  explicit PosixFileSystem(std::string mount_table = "/proc/self/mountinfo")
      : mount_table_(std::move(mount_table)) {}

  DiskFreeSpaceResult GetDiskFreeSpaceEx(std::string_view directory) override;
  // The label is always empty: Linux keeps none at this level.
  VolumeInformationResult GetVolumeInformation(std::string_view root_path,
                                               std::uint32_t volume_name_size,
                                               std::uint32_t file_system_name_size) override;

 private:
  std::string mount_table_;
};

namespace posix_fs {

// The file-system type of the mount that holds `absolute_path`, from
// mountinfo text: the longest mount point that is the path or one of its
// parents; the last such line wins, as later mounts hide earlier ones.
// Empty when no line matches.
std::string FileSystemTypeOf(std::string_view mountinfo, std::string_view absolute_path);

}  // namespace posix_fs
}  // namespace tabulon::platform
