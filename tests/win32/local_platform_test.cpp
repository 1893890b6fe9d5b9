// The Windows local platform layer on real Windows calls (run under Wine by
// the cross build's ctest): text at the API edge, files written and cut,
// folders listed, volumes, the locale's pictures and ICMP to this computer.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/locale.h"
#include "platform/status.h"
#include "platform/time.h"
#include "platform/win32/file_system.h"
#include "platform/win32/icmp.h"
#include "platform/win32/wide.h"
#include "platform/writable_file.h"

namespace tabulon::platform {
namespace {

namespace fs = std::filesystem;

fs::path PathOf(const std::string& utf8) {
  return fs::path(win32::ToWide(utf8));
}
std::string Utf8(const fs::path& path) {
  return win32::ToUtf8(path.wstring());
}

// A fresh folder with a name that is not ASCII, removed afterwards.
class Win32Folder : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name =
        "tabulon-\xC3\x9C"
        "bersicht-\xE6\x97\xA5-" +
        std::to_string(::testing::UnitTest::GetInstance()->random_seed());
    dir_ = fs::temp_directory_path() / PathOf(name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return Utf8(dir_ / PathOf(name)); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ / PathOf(name), std::ios::binary) << bytes;
  }

  fs::path dir_;
};

TEST(Win32Text, Utf8AndUtf16RoundTripAndMalformedInputBecomesReplacement) {
  const struct {
    std::string utf8;
    std::wstring utf16;
  } cases[] = {
      {"", L""},
      {"SERVICES", L"SERVICES"},
      {"\xC3\x9C"
       "bersicht",
       L"\u00DCbersicht"},
      {"\xE6\x97\xA5\xE6\x9C\xAC", L"\u65E5\u672C"},
      {"\xF0\x9F\x98\x80", L"\xD83D\xDE00"},  // outside the BMP: a surrogate pair
  };
  for (const auto& c : cases) {
    EXPECT_EQ(win32::ToWide(c.utf8), c.utf16) << c.utf8;
    EXPECT_EQ(win32::ToUtf8(c.utf16), c.utf8) << c.utf8;
  }
  EXPECT_EQ(win32::ToWide("a\xFF"
                          "b"),
            L"a\uFFFDb");
  EXPECT_EQ(win32::ToUtf8(std::wstring(L"a\xD800"
                                       L"b")),
            "a\xEF\xBF\xBD"
            "b");
}

TEST_F(Win32Folder, WritableFileAppendsIsCutAndRemoved) {
  const std::string path = Path("run \xC3\xA9t\xC3\xA9.log");
  std::unique_ptr<WritableFile> file;
  ASSERT_EQ(OpenWritableFile(path, false, file), win::ERROR_SUCCESS);
  EXPECT_EQ(file->Write("abc"), win::ERROR_SUCCESS);
  EXPECT_EQ(file->Close(), win::ERROR_SUCCESS);
  ASSERT_EQ(OpenWritableFile(path, true, file), win::ERROR_SUCCESS);
  EXPECT_EQ(file->Write("def"), win::ERROR_SUCCESS);
  EXPECT_EQ(file->Close(), win::ERROR_SUCCESS);

  std::uint64_t size = 0;
  EXPECT_EQ(FileSize(path, size), win::ERROR_SUCCESS);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(TruncateFile(path, 2), win::ERROR_SUCCESS);
  EXPECT_EQ(FileSize(path, size), win::ERROR_SUCCESS);
  EXPECT_EQ(size, 2u);
  EXPECT_EQ(RemoveFile(path), win::ERROR_SUCCESS);
  EXPECT_EQ(RemoveFile(path), win::ERROR_SUCCESS);  // none there: nothing to do
  EXPECT_EQ(FileSize(path, size), win::ERROR_FILE_NOT_FOUND);
  EXPECT_NE(OpenWritableFile(Path("no folder\\x.txt"), false, file), win::ERROR_SUCCESS);
}

TEST_F(Win32Folder, ListingMatchesWithoutCaseAndReadsRanges) {
  Write("b.txt", "abc");
  Write("A.TXT", "");
  Write("c.log", "x");
  fs::create_directory(dir_ / "d.txt");
  Win32FileSystem files;

  std::vector<std::string> names;
  FindFirstResult first = files.FindFirstFile(Path("*.txt"));
  ASSERT_EQ(first.status, win::ERROR_SUCCESS);
  FindData item = first.data;
  for (;;) {
    names.push_back(item.name + (item.attributes & kFileAttributeDirectory ? "/" : "") + ":" +
                    std::to_string(item.size));
    const FindNextResult next = files.FindNextFile(first.handle);
    if (next.status != win::ERROR_SUCCESS) {
      EXPECT_EQ(next.status, win::ERROR_NO_MORE_FILES);
      break;
    }
    item = next.data;
  }
  files.FindClose(first.handle);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"A.TXT:0", "b.txt:3", "d.txt/:0"}));

  EXPECT_NE(files.FindFirstFile(Path("missing\\*")).status, win::ERROR_SUCCESS);
  const ReadRangeResult range = files.ReadFileRange(Path("b.txt"), 1, 10);
  EXPECT_EQ(range.status, win::ERROR_SUCCESS);
  EXPECT_EQ(std::string(range.bytes.begin(), range.bytes.end()), "bc");

  const DiskFreeSpaceResult space = files.GetDiskFreeSpaceEx(Utf8(dir_) + "\\");
  EXPECT_EQ(space.status, win::ERROR_SUCCESS);
  EXPECT_GT(space.total_bytes, 0u);
  EXPECT_GE(space.total_bytes, space.total_free_bytes);
}

TEST(Win32Locale, PicturesAreTheSystemsAndDatesOutOfRangeAreRefused) {
  const std::unique_ptr<Locale> locale = MakeProcessLocale();
  SystemTime t;
  t.year = 2026;
  t.month = 3;
  t.day = 5;
  t.hour = 7;
  t.minute = 4;
  t.second = 9;
  EXPECT_EQ(locale->FormatDate(t, "yyyy'-'MM'-'dd").value_or("?"), "2026-03-05");
  EXPECT_EQ(locale->FormatTime(t, "HH':'mm':'ss").value_or("?"), "07:04:09");
  SystemTime bad = t;
  bad.month = 13;
  EXPECT_FALSE(locale->FormatDate(bad, "yyyy").has_value());
  EXPECT_FALSE(locale->DateOrderCode().empty());
}

TEST(Win32Icmp, EchoOfThisComputerAndOfAnUnknownName) {
  SystemClock clock;
  Win32Icmp icmp(clock);
  EchoRequest request;
  request.host = "127.0.0.1";
  request.timeout_ms = 2000;
  const EchoResult echo = icmp.SystemEcho(request);
  EXPECT_TRUE(echo.success) << echo.status;
  request.host = "no-such-host.invalid";
  const EchoResult unknown = icmp.SystemEcho(request);
  EXPECT_FALSE(unknown.success);
  EXPECT_NE(unknown.status, win::ERROR_SUCCESS);
}

}  // namespace
}  // namespace tabulon::platform
