// The files() family of remote sessions: which paths go to the server over
// SMB, which to the local file system, and what is answered without either.
#include "platform/remote/remote_file_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tabulon::platform::remote {
namespace {

class RecordingCalls final : public RemoteFileCalls {
 public:
  DiskFreeSpaceResult DiskSpace(std::string_view server, std::string_view share,
                                std::string_view directory) override {
    asked.push_back(std::string(server) + "|" + std::string(share) + "|" + std::string(directory));
    return {win::ERROR_SUCCESS, 1, 2, 3};
  }
  std::vector<std::string> asked;
};

class LocalFiles final : public FileSystem {
 public:
  DiskFreeSpaceResult GetDiskFreeSpaceEx(std::string_view directory) override {
    asked.emplace_back(directory);
    return {win::ERROR_SUCCESS, 7, 8, 9};
  }
  VolumeInformationResult GetVolumeInformation(std::string_view root_path, std::uint32_t,
                                               std::uint32_t) override {
    asked.emplace_back(root_path);
    VolumeInformationResult result;
    result.file_system_name = "ext4";
    return result;
  }
  std::vector<std::string> asked;
};

TEST(RemoteFileSystem, SharesGoToTheServerInParts) {
  struct Case {
    const char* path;
    const char* asked;  // empty: the call is answered without the server
    win::Status status;
  };
  const Case cases[] = {
      {"\\\\FS01\\C$\\", "FS01|C$|", win::ERROR_SUCCESS},
      {"\\\\FS01\\C$", "FS01|C$|", win::ERROR_SUCCESS},
      {"//FS01/Data/Sub Dir/x/", "FS01|Data|Sub Dir/x", win::ERROR_SUCCESS},
      {"\\\\FS01\\\\Data\\\\a\\\\\\b", "FS01|Data|a/b", win::ERROR_SUCCESS},
      {"\\\\FS01\\", "", win::ERROR_BAD_NETPATH},
      {"\\\\", "", win::ERROR_BAD_NETPATH},
  };
  for (const Case& c : cases) {
    RecordingCalls calls;
    LocalFiles local;
    RemoteFileSystem files(&calls, &local);
    const DiskFreeSpaceResult space = files.GetDiskFreeSpaceEx(c.path);
    EXPECT_EQ(space.status, c.status) << c.path;
    EXPECT_EQ(calls.asked, std::string(c.asked).empty() ? std::vector<std::string>{}
                                                        : std::vector<std::string>{c.asked})
        << c.path;
    EXPECT_TRUE(local.asked.empty()) << c.path;
  }
}

TEST(RemoteFileSystem, LocalPathsStayLocalAndSharesHaveNoVolumeDetails) {
  RecordingCalls calls;
  LocalFiles local;
  RemoteFileSystem files(&calls, &local);
  EXPECT_EQ(files.GetDiskFreeSpaceEx("/srv/data").total_bytes, 8u);
  EXPECT_EQ(files.GetVolumeInformation("C:\\", 30, 5).file_system_name, "ext4");
  EXPECT_EQ(local.asked, (std::vector<std::string>{"/srv/data", "C:\\"}));
  // Label, serial and file-system name are not to be had over SMB.
  EXPECT_EQ(files.GetVolumeInformation("\\\\FS01\\C$\\", 30, 5).status, win::ERROR_NOT_SUPPORTED);
  EXPECT_TRUE(calls.asked.empty());
}

}  // namespace
}  // namespace tabulon::platform::remote
