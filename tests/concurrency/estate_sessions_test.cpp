// Sessions of one estate backend on several threads at once answer as they
// do one at a time.
#include <gtest/gtest.h>

#include "concurrency/family_transcript.h"
#include "estate/backend.h"
#include "estate/loader.h"
#include "platform/platform.h"

namespace tabulon::testing {
namespace {

struct Target {
  const char* computer;
  const char* folder;
};

// A file server, a print server, a workstation, and computers that refuse
// or fail some families (the sample's own failures).
constexpr Target kTargets[] = {
    {"HGFS01", "\\\\HGFS01\\D$\\Apps\\Ledger"},
    {"HGPS01", "\\\\HGPS01\\C$"},
    {"HGWS001", "\\\\HGWS001\\C$"},
    {"HGBK01", "\\\\HGBK01\\C$"},
    {"HGSQL01", "\\\\HGSQL01\\C$"},
    {"HGWS003", "\\\\HGWS003\\C$"},
};
constexpr std::size_t kRounds = 3;

TEST(ConcurrentEstateSessions, EachThreadsSessionAnswersAsASerialOneDoes) {
  estate::LoadResult loaded =
      estate::LoadEstate(std::string(TABULON_SOURCE_DIR) + "/examples/sample.estate.json");
  ASSERT_TRUE(loaded.ok) << loaded.error;
  estate::EstateBackend backend(std::move(loaded.estate));
  platform::Platform platform;
  backend.Attach(platform);
  const auto transcript = [&platform](std::size_t i) {
    const Target& t = kTargets[i % std::size(kTargets)];
    std::string all;
    for (std::size_t round = 0; round < kRounds; ++round) {
      const auto session = platform.sessions->Open(t.computer, {});
      all += FamilyTranscript(*session, std::string("\\\\") + t.computer, t.folder,
                              "HARROW\\Administrator");
    }
    return all;
  };
  std::vector<std::string> serial;
  for (std::size_t i = 0; i < 2 * std::size(kTargets); ++i) serial.push_back(transcript(i));
  const std::vector<std::string> concurrent = OnThreads(serial.size(), transcript);
  for (std::size_t i = 0; i < serial.size(); ++i) {
    EXPECT_EQ(concurrent[i], serial[i]) << kTargets[i % std::size(kTargets)].computer;
  }
  EXPECT_NE(serial[0].find("files 0 .:0 ..:0 ledger.exe:1356"), std::string::npos) << serial[0];
}

}  // namespace
}  // namespace tabulon::testing
