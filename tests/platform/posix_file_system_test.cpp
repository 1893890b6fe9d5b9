#include "platform/posix/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace tabulon::platform {
namespace {

constexpr std::string_view kMountInfo =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "30 22 8:2 / /home rw,relatime shared:2 - xfs /dev/sda2 rw\n"
    "31 22 0:30 / /tmp rw,nosuid - tmpfs tmpfs rw\n"
    "32 22 8:17 / /mnt/my\\040disk rw - vfat /dev/sdb1 rw\n"
    "33 22 0:40 / /srv rw - ext4 /dev/sdc1 rw\n"
    "34 22 0:41 / /srv rw - btrfs /dev/sdd1 rw\n"
    "broken line\n";

TEST(PosixFileSystem, FileSystemTypeIsTheInnermostMount) {
  struct Case {
    const char* path;
    const char* type;
  };
  const Case cases[] = {
      {"/", "ext4"},
      {"/home", "xfs"},
      {"/home/ann/docs", "xfs"},
      {"/homework", "ext4"},  // a prefix of the text is not a parent directory
      {"/tmp/x", "tmpfs"},
      {"/mnt/my disk/photos", "vfat"},
      {"/srv/www", "btrfs"},  // the later mount hides the earlier one
  };
  for (const Case& c : cases) {
    EXPECT_EQ(posix_fs::FileSystemTypeOf(kMountInfo, c.path), c.type) << c.path;
  }
  EXPECT_EQ(posix_fs::FileSystemTypeOf("", "/"), "");
}

class PosixFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("tabulon-fs-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // A mount table that puts the whole tree on one file system of `type`.
  std::string TableOf(std::string_view type) {
    const std::string path = (dir_ / "mountinfo").string();
    std::ofstream(path) << "1 0 8:1 / / rw - " << type << " /dev/root rw\n";
    return path;
  }

  std::filesystem::path dir_;
};

TEST_F(PosixFileSystemTest, MeasuresALocalDirectory) {
  PosixFileSystem fs(TableOf("ext4"));
  const DiskFreeSpaceResult space = fs.GetDiskFreeSpaceEx(dir_.string());
  ASSERT_EQ(space.status, win::ERROR_SUCCESS);
  EXPECT_GT(space.total_bytes, 0u);
  EXPECT_GE(space.total_bytes, space.total_free_bytes);
  EXPECT_GE(space.total_free_bytes, space.free_bytes_available);

  const VolumeInformationResult volume = fs.GetVolumeInformation(dir_.string(), 30, 5);
  ASSERT_EQ(volume.status, win::ERROR_SUCCESS);
  EXPECT_EQ(volume.file_system_name, "ext4");
  EXPECT_EQ(volume.volume_name, "");
  EXPECT_GT(volume.max_component_length, 0u);
  EXPECT_NE(volume.file_system_flags & 0x1u, 0u) << "case-sensitive search";
}

TEST_F(PosixFileSystemTest, LongFileSystemNamesNeedRoomForTheirTerminator) {
  PosixFileSystem fs(TableOf("tmpfs"));
  EXPECT_EQ(fs.GetVolumeInformation(dir_.string(), 30, 5).status, win::ERROR_MORE_DATA);
  const VolumeInformationResult roomy = fs.GetVolumeInformation(dir_.string(), 30, 6);
  EXPECT_EQ(roomy.status, win::ERROR_SUCCESS);
  EXPECT_EQ(roomy.file_system_name, "tmpfs");
}

TEST_F(PosixFileSystemTest, PathsItCannotReach) {
  PosixFileSystem fs(TableOf("ext4"));
  EXPECT_EQ(fs.GetDiskFreeSpaceEx("\\\\SERVER\\C$\\").status, win::ERROR_BAD_NETPATH);
  EXPECT_EQ(fs.GetVolumeInformation("\\\\SERVER\\C$\\", 30, 5).status, win::ERROR_BAD_NETPATH);
  EXPECT_EQ(fs.GetDiskFreeSpaceEx("C:\\").status, win::ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(fs.GetDiskFreeSpaceEx((dir_ / "missing").string()).status, win::ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(fs.GetVolumeInformation((dir_ / "missing").string(), 30, 5).status,
            win::ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(fs.GetDiskFreeSpaceEx("").status, win::ERROR_INVALID_NAME);
}

// Every item of a listing, first to last.
std::vector<FindData> ListAll(FileSystem& fs, const std::string& pattern, win::Status& first) {
  std::vector<FindData> items;
  FindFirstResult r = fs.FindFirstFile(pattern);
  first = r.status;
  if (r.status != win::ERROR_SUCCESS) return items;
  items.push_back(r.data);
  for (FindNextResult n = fs.FindNextFile(r.handle); n.status == win::ERROR_SUCCESS;
       n = fs.FindNextFile(r.handle)) {
    items.push_back(n.data);
  }
  fs.FindClose(r.handle);
  return items;
}

// A local share lists its folder through the share's UNC path: names in
// order without regard to case, "." and ".." first, Linux attributes mapped,
// symbolic links not followed.
TEST_F(PosixFileSystemTest, ListsAndReadsALocalShare) {
  std::filesystem::create_directories(dir_ / "apps" / "bin");
  std::ofstream(dir_ / "apps" / "b.txt") << "12345";
  std::ofstream(dir_ / "apps" / "A.exe") << "MZ";
  std::ofstream(dir_ / "apps" / ".hidden") << "";
  std::filesystem::permissions(dir_ / "apps" / "A.exe", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  std::filesystem::create_directory_symlink(dir_ / "apps", dir_ / "apps" / "loop");
  PosixFileSystem fs(TableOf("ext4"));
  fs.set_local_shares(ParseLocalShares("\\\\FS01\\Apps=" + (dir_ / "apps").string(), ""));

  win::Status status = 0;
  const std::vector<FindData> all = ListAll(fs, "\\\\fs01\\apps\\*.*", status);
  ASSERT_EQ(status, win::ERROR_SUCCESS);
  std::vector<std::pair<std::string, std::uint32_t>> seen;
  for (const FindData& d : all) seen.emplace_back(d.name, d.attributes);
  const std::vector<std::pair<std::string, std::uint32_t>> expected = {
      {".", kFileAttributeDirectory},    {"..", kFileAttributeDirectory},
      {".hidden", kFileAttributeHidden}, {"A.exe", kFileAttributeReadOnly},
      {"b.txt", kFileAttributeNormal},   {"bin", kFileAttributeDirectory},
      {"loop", kFileAttributeSystem},
  };
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(all[4].size, 5u);
  EXPECT_GT(all[4].last_write_time, 116444736000000000u);

  const std::vector<FindData> txt = ListAll(fs, "\\\\FS01\\apps\\?.TXT", status);
  ASSERT_EQ(txt.size(), 1u);
  EXPECT_EQ(txt[0].name, "b.txt");
  ListAll(fs, "\\\\FS01\\apps\\*.doc", status);
  EXPECT_EQ(status, win::ERROR_FILE_NOT_FOUND);
  ListAll(fs, "\\\\FS01\\apps\\missing\\*.*", status);
  EXPECT_EQ(status, win::ERROR_PATH_NOT_FOUND);
  ListAll(fs, "\\\\FS02\\apps\\*.*", status);
  EXPECT_EQ(status, win::ERROR_BAD_NETPATH);

  const ReadRangeResult read = fs.ReadFileRange("\\\\FS01\\apps\\b.txt", 3, 10);
  EXPECT_EQ(read.status, win::ERROR_SUCCESS);
  EXPECT_EQ(std::string(read.bytes.begin(), read.bytes.end()), "45");
  EXPECT_EQ(fs.ReadFileRange("\\\\FS01\\apps\\bin", 0, 4).status, win::ERROR_ACCESS_DENIED);
  EXPECT_EQ(fs.ReadFileRange("\\\\FS01\\apps\\none", 0, 4).status, win::ERROR_FILE_NOT_FOUND);
}

TEST(PosixFileSystem, LocalShareSettings) {
  const std::vector<LocalShare> shares = ParseLocalShares(
      " \\\\FS01\\apps\\ = /srv/apps/ ;junk;\\\\FS01\\data=data;=x;FS01\\y=/y", "/etc/tabulon");
  ASSERT_EQ(shares.size(), 2u);
  EXPECT_EQ(shares[0].unc, "\\\\FS01\\apps");
  EXPECT_EQ(shares[0].folder, "/srv/apps");
  EXPECT_EQ(shares[1].folder, "/etc/tabulon/data");
}

TEST(FindPattern, MatchesAsFindFirstFileDoes) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  };
  const Case cases[] = {
      {"*.*", "README", true},
      {"*", ".profile", true},
      {"*.doc", "Report.DOC", true},
      {"*.doc", "Report.docx", false},
      {"sales*.*", "sales2020.xls", true},
      {"file?.txt", "file1.txt", true},
      {"file?.txt", "file.txt", false},
      {"*a*b*c", "xaxbxbxc", true},
      {"*a*b*c", "xaxbxbx", false},
      {"ÄB*", "äbc", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesFindPattern(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
  }
}

}  // namespace
}  // namespace tabulon::platform
