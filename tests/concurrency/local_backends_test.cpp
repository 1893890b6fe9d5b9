// What every session of a run shares on this computer — the local file
// system's find handles and the profile's parsed files — used from several
// threads at once.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "concurrency/family_transcript.h"
#include "platform/ini_file_profile.h"
#include "platform/posix/file_system.h"
#include "support/fakes.h"

namespace tabulon::testing {
namespace {

constexpr std::size_t kThreads = 8;

std::string Listing(platform::FileSystem& files, const std::string& pattern) {
  std::string out;
  auto found = files.FindFirstFile(pattern);
  if (found.status != win::ERROR_SUCCESS) return std::to_string(found.status);
  out = found.data.name;
  for (;;) {
    const auto next = files.FindNextFile(found.handle);
    if (next.status != win::ERROR_SUCCESS) break;
    out += ' ' + next.data.name;
  }
  files.FindClose(found.handle);
  return out;
}

TEST(ConcurrentLocalBackends, FindHandlesOfSeveralThreadsStayApart) {
  ScratchDir dir;
  for (std::size_t i = 0; i < kThreads; ++i) {
    const std::string folder = "d" + std::to_string(i);
    std::filesystem::create_directory(dir.File(folder));
    for (std::size_t f = 0; f <= i; ++f) dir.Write(folder + "/f" + std::to_string(f), "x");
  }
  platform::PosixFileSystem files;
  const auto listings = [&](std::size_t i) {
    std::string all;
    for (int round = 0; round < 50; ++round) {
      all += Listing(files, dir.File("d" + std::to_string(i)) + "/*") + '\n';
    }
    return all;
  };
  std::vector<std::string> serial;
  for (std::size_t i = 0; i < kThreads; ++i) serial.push_back(listings(i));
  EXPECT_EQ(OnThreads(kThreads, listings), serial);
  EXPECT_EQ(serial[1].substr(0, serial[1].find('\n')), ". .. f0 f1");
}

TEST(ConcurrentLocalBackends, OneProfileServesReadersAndWritersOfSeveralThreads) {
  ScratchDir dir;
  const std::string shared = dir.File("shared.ini");
  dir.Write("shared.ini", "[General]\nObjectFile=objects.dat\n");
  platform::IniFileProfile profile;
  const auto work = [&](std::size_t i) {
    const std::string own = dir.File("own" + std::to_string(i) + ".ini");
    std::string seen;
    for (int round = 0; round < 40; ++round) {
      seen += profile.GetString(shared, "General", "ObjectFile", "", 256) + ' ';
      profile.WriteString(own, "S", "K" + std::to_string(round), std::to_string(i));
      profile.WriteString(shared, "T" + std::to_string(i), "Round", std::to_string(round));
      seen += profile.GetString(own, "S", "K" + std::to_string(round), "?", 256) + ' ';
    }
    return seen;
  };
  const std::vector<std::string> seen = OnThreads(kThreads, work);
  for (std::size_t i = 0; i < kThreads; ++i) {
    std::string expected;
    for (int round = 0; round < 40; ++round) expected += "objects.dat " + std::to_string(i) + ' ';
    EXPECT_EQ(seen[i], expected);
    // No thread's change to the shared file was lost to another's.
    EXPECT_EQ(profile.GetString(shared, "T" + std::to_string(i), "Round", "", 16), "39");
  }
}

}  // namespace
}  // namespace tabulon::testing
