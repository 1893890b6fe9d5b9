#pragma once
// Disk space, volume information and files answered from the disks and file
// trees of the estate's computers, reached through a share ("\\FS01\D$\")
// or, for the local computer, a drive ("C:\").
#include "estate/simulation.h"
#include "platform/file_system.h"
#include "platform/find_files.h"

namespace tabulon::estate {

class EstateFileSystem final : public platform::FileSystem {
 public:
  EstateFileSystem(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  platform::DiskFreeSpaceResult GetDiskFreeSpaceEx(std::string_view directory) override;
  platform::VolumeInformationResult GetVolumeInformation(
      std::string_view root_path, std::uint32_t volume_name_size,
      std::uint32_t file_system_name_size) override;
  platform::FindFirstResult FindFirstFile(std::string_view pattern) override;
  platform::FindNextResult FindNextFile(platform::FindHandle handle) override;
  void FindClose(platform::FindHandle handle) override;
  platform::ReadRangeResult ReadFileRange(std::string_view path, std::uint64_t offset,
                                          std::size_t size) override;

 private:
  // A path as the computer it reaches sees it: "D:\Apps\bin".
  struct Resolved {
    win::Status status = win::ERROR_SUCCESS;
    const Computer* computer = nullptr;
    std::string windows_path;
  };
  Resolved Resolve(Operation op, std::string_view path);

  struct Volume {
    win::Status status = win::ERROR_SUCCESS;
    const Disk* disk = nullptr;
    bool root = false;  // the path names the root of the share or drive
    bool trailing_backslash = false;
  };
  // Records the call and finds the volume `path` is on.
  template <typename DetailFn>
  Volume Locate(Operation op, std::string_view path, DetailFn&& detail);

  Simulation& sim_;
  const platform::SessionOptions& session_;
  platform::FindListings listings_;
};

}  // namespace tabulon::estate
