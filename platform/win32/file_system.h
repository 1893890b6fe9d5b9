#pragma once
// Disk space, volume information and the files of paths through the file
// API (GetDiskFreeSpaceExW, GetVolumeInformationW, directory handles and
// ReadFile). Drive paths ("C:\") and share paths ("\\SERVER\C$\") are
// reached as Windows reaches them; a share that is one of the local shares
// the caller named is listed and read from its local folder instead.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/find_files.h"
#include "platform/local_shares.h"

namespace tabulon::platform {

class Win32FileSystem final : public FileSystem {
 public:
  DiskFreeSpaceResult GetDiskFreeSpaceEx(std::string_view directory) override;
  VolumeInformationResult GetVolumeInformation(std::string_view root_path,
                                               std::uint32_t volume_name_size,
                                               std::uint32_t file_system_name_size) override;

  // The items as the file system keeps them: its attributes and times, the
  // volume's serial number and the file's 64-bit id. "." and ".." come first
  // where the directory has them (not at a volume's root), the rest in name
  // order. A pattern without a folder lists the current directory.
  FindFirstResult FindFirstFile(std::string_view pattern) override;
  FindNextResult FindNextFile(FindHandle handle) override;
  void FindClose(FindHandle handle) override;
  ReadRangeResult ReadFileRange(std::string_view path, std::uint64_t offset,
                                std::size_t size) override;

  void set_local_shares(std::vector<LocalShare> shares) { local_shares_ = std::move(shares); }

 private:
  // A local share's folder and the rest of the path, or the path itself.
  std::string LocalPathOf(std::string_view path) const;

  std::vector<LocalShare> local_shares_;
  FindListings listings_;
};

}  // namespace tabulon::platform
