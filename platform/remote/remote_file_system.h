#pragma once
// The files() family of a remote session: UNC paths go to the server over
// SMB, paths of this computer to the local file system.
#include "platform/file_system.h"
#include "platform/find_files.h"
#include "platform/remote/remote_file_calls.h"

namespace tabulon::platform::remote {

class RemoteFileSystem final : public FileSystem {
 public:
  // Either may be null: the paths it would serve then answer
  // ERROR_NOT_SUPPORTED. Both must outlive this object.
  RemoteFileSystem(RemoteFileCalls* calls, FileSystem* local_files)
      : calls_(calls), local_files_(local_files) {}

  DiskFreeSpaceResult GetDiskFreeSpaceEx(std::string_view directory) override;
  // An SMB client sees the space of a share's volume but not its label,
  // serial number or file-system name: for a share this fails with
  // ERROR_NOT_SUPPORTED rather than invent them.
  VolumeInformationResult GetVolumeInformation(std::string_view root_path,
                                               std::uint32_t volume_name_size,
                                               std::uint32_t file_system_name_size) override;
  // A UNC path a local folder stands for (the local file system knows it)
  // is listed and read there; any other goes to its server over SMB.
  FindFirstResult FindFirstFile(std::string_view pattern) override;
  FindNextResult FindNextFile(FindHandle handle) override;
  void FindClose(FindHandle handle) override;
  ReadRangeResult ReadFileRange(std::string_view path, std::uint64_t offset,
                                std::size_t size) override;

 private:
  RemoteFileCalls* calls_;
  FileSystem* local_files_;
  // Listings of the server's directories; their handles carry kServerHandle
  // so that they never meet the local file system's.
  FindListings server_listings_;
};

// A UNC path cut into its parts; `directory` has "/" between its parts and
// no leading or trailing separator.
struct UncPath {
  std::string server;
  std::string share;
  std::string directory;
};

// The parts of "\\server\share\dir\" (either slash); nothing for a path that
// does not start with two separators. `status` is ERROR_BAD_NETPATH when the
// server or share is missing.
struct UncParse {
  bool unc = false;
  win::Status status = win::ERROR_SUCCESS;
  UncPath path;
};
UncParse ParseUncPath(std::string_view path);

}  // namespace tabulon::platform::remote
