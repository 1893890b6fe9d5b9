// The file system family: folder listings through find handles and the
// volumes behind shares.
#include <gtest/gtest.h>

#include "contract/contract.h"

namespace tabulon::testing::contract {
namespace {

template <typename Backend>
class FileSystemContract : public Contract<Backend> {};
TYPED_TEST_SUITE_P(FileSystemContract);

// "." and ".." first, then the items by name, until ERROR_NO_MORE_FILES;
// a closed handle lists nothing more.
TYPED_TEST_P(FileSystemContract, FolderListedThroughAFindHandle) {
  CONTRACT_FAMILY(facts, serving, files);
  platform::FileSystem& files = this->session().files();
  const platform::FindFirstResult first = files.FindFirstFile(facts.folder + "\\*");
  if (Refused(serving, first)) return;
  ASSERT_EQ(first.status, win::ERROR_SUCCESS);
  std::vector<std::string> names{first.data.name};
  for (int item = 0; item < 1000; ++item) {
    const platform::FindNextResult next = files.FindNextFile(first.handle);
    if (next.status == win::ERROR_NO_MORE_FILES) break;
    ASSERT_EQ(next.status, win::ERROR_SUCCESS);
    names.push_back(next.data.name);
  }
  std::vector<std::string> expected{".", ".."};
  expected.insert(expected.end(), facts.files.begin(), facts.files.end());
  EXPECT_EQ(names, expected);
  files.FindClose(first.handle);
  EXPECT_EQ(files.FindNextFile(first.handle).status, win::ERROR_INVALID_HANDLE);

  const platform::FindFirstResult one = files.FindFirstFile(facts.folder + "\\" + facts.files[0]);
  EXPECT_EQ(one.status, win::ERROR_SUCCESS);
  EXPECT_EQ(one.data.name, facts.files[0]);
  if (one.status == win::ERROR_SUCCESS) files.FindClose(one.handle);
  EXPECT_EQ(files.FindFirstFile(facts.folder + "\\*.none").status, win::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(files.FindFirstFile(facts.folder + "\\NoSuchFolder\\*").status,
            win::ERROR_PATH_NOT_FOUND);
}

// The space of a share's volume, and its texts: those that do not fit the
// caller's buffers fail the call with ERROR_MORE_DATA.
TYPED_TEST_P(FileSystemContract, VolumesBehindShares) {
  CONTRACT_FAMILY(facts, serving, files);
  platform::FileSystem& files = this->session().files();
  const platform::DiskFreeSpaceResult space = files.GetDiskFreeSpaceEx(facts.root);
  if (Refused(serving, space)) return;
  EXPECT_EQ(space.status, win::ERROR_SUCCESS);
  EXPECT_GE(space.total_bytes, space.total_free_bytes);
  EXPECT_GE(space.total_free_bytes, space.free_bytes_available);
  const std::string missing = facts.root.substr(0, facts.root.find('\\', 2)) + "\\NoSuchShare\\";
  EXPECT_EQ(files.GetDiskFreeSpaceEx(missing).status, win::ERROR_BAD_NET_NAME) << missing;

  const platform::VolumeInformationResult volume = files.GetVolumeInformation(facts.root, 261, 261);
  if (!facts.volume_information) {
    EXPECT_EQ(volume.status, win::ERROR_NOT_SUPPORTED);
    return;
  }
  EXPECT_EQ(volume.status, win::ERROR_SUCCESS);
  ASSERT_FALSE(volume.file_system_name.empty());
  EXPECT_EQ(files.GetVolumeInformation(facts.root, 261, 1).status, win::ERROR_MORE_DATA);
  EXPECT_EQ(files
                .GetVolumeInformation(facts.root, 261,
                                      static_cast<std::uint32_t>(volume.file_system_name.size()))
                .status,
            win::ERROR_MORE_DATA)
      << "no room for the terminator";
}

REGISTER_TYPED_TEST_SUITE_P(FileSystemContract, FolderListedThroughAFindHandle,
                            VolumesBehindShares);
INSTANTIATE_TYPED_TEST_SUITE_P(Every, FileSystemContract, Backends);

}  // namespace
}  // namespace tabulon::testing::contract
