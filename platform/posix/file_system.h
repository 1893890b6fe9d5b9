#pragma once
// Disk space, volume information and the files of local paths through
// statvfs, the process's mount table and the directory calls. No network
// redirector stands behind it: a share path ("\\SERVER\C$\") is served
// only when it is one of the local shares the caller named (a local folder
// standing for the share), other share paths answer ERROR_BAD_NETPATH and
// drive paths ("C:\") ERROR_PATH_NOT_FOUND.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/find_files.h"
#include "platform/local_shares.h"

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

  // Attributes: directories 0x10; a name starting with "." is hidden, a file
  // without the owner's write permission read-only, a file that is neither
  // a regular file nor a directory (devices, sockets, symbolic links, which
  // are never followed) a system file; a regular file with none of these is
  // normal (0x80). Creation time is the birth time where the file system
  // keeps one, else the last write time.
  FindFirstResult FindFirstFile(std::string_view pattern) override;
  FindNextResult FindNextFile(FindHandle handle) override;
  void FindClose(FindHandle handle) override;
  ReadRangeResult ReadFileRange(std::string_view path, std::uint64_t offset,
                                std::size_t size) override;

  void set_local_shares(std::vector<LocalShare> shares) { local_shares_ = std::move(shares); }

 private:
  // The local path of a Windows path: a local share's folder and the rest,
  // or a path that is local already ("/srv/x"). Nothing: not reachable here.
  std::optional<std::string> LocalPathOf(std::string_view path, win::Status& why) const;

  std::string mount_table_;
  std::vector<LocalShare> local_shares_;
  FindListings listings_;
};

namespace posix_fs {

// The file-system type of the mount that holds `absolute_path`, from
// mountinfo text: the longest mount point that is the path or one of its
// parents; the last such line wins, as later mounts hide earlier ones.
// Empty when no line matches.
std::string FileSystemTypeOf(std::string_view mountinfo, std::string_view absolute_path);

}  // namespace posix_fs
}  // namespace tabulon::platform
