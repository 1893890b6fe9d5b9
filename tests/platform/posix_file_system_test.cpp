#include "platform/posix/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

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

}  // namespace
}  // namespace tabulon::platform
