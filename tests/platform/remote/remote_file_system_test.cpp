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
  RemoteListing ListDirectory(std::string_view server, std::string_view share,
                              std::string_view directory) override {
    asked.push_back("list " + std::string(server) + "|" + std::string(share) + "|" +
                    std::string(directory));
    RemoteListing listing;
    listing.status = end;
    // The server's own order, dots in the middle.
    for (const char* name : {"b.exe", ".", "A.txt", "..", "a.exe", "sub", extra}) {
      if (name == nullptr) continue;
      FindData item;
      item.name = name;
      item.attributes = std::string_view(name) == "sub" || name[0] == '.' ? 0x10u : 0x20u;
      item.last_write_time = std::string_view(name) == "." ? 77 : 1;
      listing.items.push_back(item);
    }
    return listing;
  }
  ReadRangeResult ReadRange(std::string_view server, std::string_view share, std::string_view path,
                            std::uint64_t offset, std::size_t size) override {
    asked.push_back("read " + std::string(server) + "|" + std::string(share) + "|" +
                    std::string(path) + "@" + std::to_string(offset) + "+" + std::to_string(size));
    return {win::ERROR_SUCCESS, {1, 2}};
  }
  RemoteSecurityText Security(std::string_view, std::string_view, std::string_view) override {
    return {};
  }
  std::vector<std::string> asked;
  win::Status end = win::ERROR_SUCCESS;  // how the listings end
  const char* extra = nullptr;           // one more name in each listing
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
  // One local folder stands for \\FS01\Local; other shares are not local.
  FindFirstResult FindFirstFile(std::string_view pattern) override {
    asked.emplace_back(pattern);
    if (pattern.starts_with("\\\\FS01\\Data")) return {win::ERROR_BAD_NETPATH, 0, {}, {}};
    FindData item;
    item.name = "local.txt";
    return {win::ERROR_SUCCESS, 1, item, {}};
  }
  FindNextResult FindNextFile(FindHandle handle) override {
    asked.push_back("next " + std::to_string(handle));
    return {win::ERROR_NO_MORE_FILES, {}};
  }
  ReadRangeResult ReadFileRange(std::string_view path, std::uint64_t, std::size_t) override {
    asked.emplace_back(path);
    if (path.starts_with("\\\\FS01\\Data")) return {win::ERROR_BAD_NETPATH, {}};
    return {win::ERROR_SUCCESS, {9}};
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

TEST(RemoteFileSystem, ServerListingsAreFilteredOrderedAndKeptApartFromLocalOnes) {
  RecordingCalls calls;
  LocalFiles local;
  RemoteFileSystem files(&calls, &local);
  FindFirstResult first = files.FindFirstFile("\\\\FS01\\Data\\bin\\*.exe");
  ASSERT_EQ(first.status, win::ERROR_SUCCESS);
  std::vector<std::string> names{first.data.name};
  for (FindNextResult next = files.FindNextFile(first.handle); next.status == win::ERROR_SUCCESS;
       next = files.FindNextFile(first.handle)) {
    names.push_back(next.data.name);
  }
  files.FindClose(first.handle);
  EXPECT_EQ(names, (std::vector<std::string>{"a.exe", "b.exe"}));
  EXPECT_EQ(calls.asked, std::vector<std::string>{"list FS01|Data|bin"});

  // Every item: the dots first, with the directory's own data.
  first = files.FindFirstFile("\\\\FS01\\Data\\*");
  EXPECT_EQ(first.data.name, ".");
  EXPECT_EQ(first.data.last_write_time, 77u);
  const FindNextResult dots = files.FindNextFile(first.handle);
  EXPECT_EQ(dots.data.name, "..");
  EXPECT_EQ(dots.data.last_write_time, 77u);
  EXPECT_EQ(files.FindNextFile(first.handle).data.name, "a.exe");
  EXPECT_EQ(files.FindNextFile(first.handle).data.name, "A.txt");

  // A local folder's share stays local, and its handle goes back there.
  const FindFirstResult here = files.FindFirstFile("\\\\FS01\\Local\\*");
  EXPECT_EQ(here.data.name, "local.txt");
  EXPECT_NE(here.handle, first.handle);
  EXPECT_EQ(files.FindNextFile(here.handle).status, win::ERROR_NO_MORE_FILES);
  EXPECT_EQ(local.asked.back(), "next " + std::to_string(here.handle));
  EXPECT_EQ(files.FindNextFile(first.handle).data.name, "b.exe");
  EXPECT_EQ(calls.asked.size(), 2u);

  EXPECT_EQ(files.ReadFileRange("\\\\FS01\\Local\\x", 0, 4).bytes, std::vector<std::uint8_t>{9});
  EXPECT_EQ(files.ReadFileRange("\\\\FS01\\Data\\bin\\a.exe", 60, 4).bytes,
            (std::vector<std::uint8_t>{1, 2}));
  EXPECT_EQ(calls.asked.back(), "read FS01|Data|bin/a.exe@60+4");
  EXPECT_EQ(files.FindFirstFile("\\\\FS01\\Data\\*.none").status, win::ERROR_FILE_NOT_FOUND);
}

// What was read before a listing broke off is kept, and its failure comes
// where its end would; a name that cannot be part of a path is left out and
// named.
TEST(RemoteFileSystem, ABrokenListingKeepsWhatWasReadAndNamesUnusableNames) {
  RecordingCalls calls;
  calls.end = win::ERROR_NETNAME_DELETED;
  calls.extra = "evil\\name.exe";
  RemoteFileSystem files(&calls, nullptr);
  const FindFirstResult first = files.FindFirstFile("\\\\FS01\\Data\\*.exe");
  ASSERT_EQ(first.status, win::ERROR_SUCCESS);
  EXPECT_EQ(first.unusable_names, std::vector<std::string>{"evil\\name.exe"});
  EXPECT_EQ(first.data.name, "a.exe");
  EXPECT_EQ(files.FindNextFile(first.handle).data.name, "b.exe");
  EXPECT_EQ(files.FindNextFile(first.handle).status, win::ERROR_NETNAME_DELETED);
  files.FindClose(first.handle);
  EXPECT_EQ(files.FindFirstFile("\\\\FS01\\Data\\*.none").status, win::ERROR_NETNAME_DELETED);
}

}  // namespace
}  // namespace tabulon::platform::remote
