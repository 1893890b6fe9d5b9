// The files of estate computers: listings through shares and drives, and
// bytes from real files next to the estate.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "estate/loader.h"
#include "sample_estate.h"

namespace tabulon::estate {
namespace {

constexpr std::string_view kEstate = R"json({
  "local_computer": "FS01",
  "computers": [
    {"name": "FS01", "default_shares": true, "disks": [{"drive": "D", "total_bytes": 100}],
     "shares": [{"name": "Apps", "path": "D:\\Apps"}, {"name": "Laser", "type": "PRINTQ"}],
     "files": {
       "D:\\Apps": [
         {"name": "ledger.exe", "bytes": "ledger.bin", "written": "2024-03-01T10:00:00Z"},
         {"name": "Bin", "children": [{"name": "tool.dll", "size": 3, "attributes": ["READONLY"]}]},
         {"name": "archive.tar.gz", "size": 5000, "attributes": "NORMAL",
          "created": 116444736000000000, "written": "2024-01-02T03:04:05Z"}
       ],
       "D:\\Apps\\Bin": [{"name": "extra.txt"}]
     }}
  ]
})json";

class EstateFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("tabulon-estate-files-" +
            std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "ledger.bin", std::ios::binary) << "MZ-real-bytes";
    LoadResult loaded = ParseEstate(kEstate, "test.json", dir_.string());
    ASSERT_TRUE(loaded.ok) << loaded.error;
    backend_ = std::make_unique<EstateBackend>(std::move(loaded.estate));
    session_ = backend_->OpenSession("");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::vector<platform::FindData> List(const std::string& pattern, win::Status& status) {
    platform::FileSystem& fs = session_->files();
    std::vector<platform::FindData> items;
    platform::FindFirstResult first = fs.FindFirstFile(pattern);
    status = first.status;
    if (status != win::ERROR_SUCCESS) return items;
    items.push_back(first.data);
    for (auto next = fs.FindNextFile(first.handle); next.status == win::ERROR_SUCCESS;
         next = fs.FindNextFile(first.handle)) {
      items.push_back(next.data);
    }
    fs.FindClose(first.handle);
    return items;
  }

  std::filesystem::path dir_;
  std::unique_ptr<EstateBackend> backend_;
  std::unique_ptr<EstateSession> session_;
};

std::vector<std::string> Names(const std::vector<platform::FindData>& items) {
  std::vector<std::string> names;
  for (const auto& i : items) names.push_back(i.name);
  return names;
}

TEST_F(EstateFilesTest, ListsThroughSharesAndDrives) {
  struct Case {
    std::string pattern;
    win::Status status;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"\\\\FS01\\Apps\\*.*", 0, {".", "..", "archive.tar.gz", "Bin", "ledger.exe"}},
      {"\\\\fs01\\apps\\bin\\*.*", 0, {".", "..", "extra.txt", "tool.dll"}},
      {"\\\\FS01\\D$\\*", 0, {"Apps"}},  // a drive's root has no dots
      {"D:\\Apps\\*.EXE", 0, {"ledger.exe"}},
      {"\\\\FS01\\Apps\\*.doc", win::ERROR_FILE_NOT_FOUND, {}},
      {"\\\\FS01\\Apps\\ledger.exe\\*.*", win::ERROR_PATH_NOT_FOUND, {}},
      {"\\\\FS01\\Laser\\*.*", win::ERROR_BAD_NET_NAME, {}},
      {"\\\\NOBODY\\Apps\\*.*", win::ERROR_BAD_NETPATH, {}},
  };
  for (const Case& c : cases) {
    win::Status status = 0;
    EXPECT_EQ(Names(List(c.pattern, status)), c.names) << c.pattern;
    EXPECT_EQ(status, c.status) << c.pattern;
  }
}

TEST_F(EstateFilesTest, FindDataAndBytes) {
  win::Status status = 0;
  const std::vector<platform::FindData> apps = List("\\\\FS01\\Apps\\*.*", status);
  ASSERT_EQ(apps.size(), 5u);
  const platform::FindData& archive = apps[2];
  EXPECT_EQ(archive.attributes, platform::kFileAttributeNormal);
  EXPECT_EQ(archive.size, 5000u);
  EXPECT_EQ(archive.creation_time, 116444736000000000u);
  EXPECT_EQ(archive.last_access_time, archive.last_write_time) << "defaults to the write time";
  EXPECT_EQ(apps[3].attributes, platform::kFileAttributeDirectory);
  EXPECT_EQ(apps[4].attributes, platform::kFileAttributeArchive);
  EXPECT_EQ(apps[4].size, 13u) << "the real file's size";

  platform::FileSystem& fs = session_->files();
  const auto text = [](const platform::ReadRangeResult& r) {
    return std::string(r.bytes.begin(), r.bytes.end());
  };
  EXPECT_EQ(text(fs.ReadFileRange("\\\\FS01\\Apps\\ledger.exe", 3, 4)), "real");
  EXPECT_EQ(fs.ReadFileRange("\\\\FS01\\Apps\\Bin\\tool.dll", 0, 64).bytes,
            (std::vector<std::uint8_t>{0, 0, 0}));
  EXPECT_EQ(fs.ReadFileRange("\\\\FS01\\Apps\\Bin", 0, 4).status, win::ERROR_ACCESS_DENIED);
  EXPECT_EQ(fs.ReadFileRange("\\\\FS01\\Apps\\none", 0, 4).status, win::ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace tabulon::estate
