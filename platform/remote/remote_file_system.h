#pragma once
// The files() family of a remote session: UNC paths go to the server over
// SMB, paths of this computer to the local file system.
#include "platform/file_system.h"
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
  // Files are listed and read by the local file system only (local folders
  // standing for shares); the server's own files are not reached over SMB
  // yet, so their paths answer what the local file system says of them.
  FindFirstResult FindFirstFile(std::string_view pattern) override {
    if (local_files_ == nullptr) return {win::ERROR_NOT_SUPPORTED, 0, {}};
    return local_files_->FindFirstFile(pattern);
  }
  FindNextResult FindNextFile(FindHandle handle) override {
    if (local_files_ == nullptr) return {win::ERROR_INVALID_HANDLE, {}};
    return local_files_->FindNextFile(handle);
  }
  void FindClose(FindHandle handle) override {
    if (local_files_ != nullptr) local_files_->FindClose(handle);
  }
  ReadRangeResult ReadFileRange(std::string_view path, std::uint64_t offset,
                                std::size_t size) override {
    if (local_files_ == nullptr) return {win::ERROR_NOT_SUPPORTED, {}};
    return local_files_->ReadFileRange(path, offset, size);
  }

 private:
  RemoteFileCalls* calls_;
  FileSystem* local_files_;
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
