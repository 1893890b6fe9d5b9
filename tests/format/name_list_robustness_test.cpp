// Random bytes as list files: every read ends, entries hold no line break
// and no more than one read buffer, and their number stays bounded.
#include <gtest/gtest.h>

#include <random>

#include "format/name_list.h"
#include "support/fakes.h"

namespace tabulon::format {
namespace {

TEST(NameListRobustness, RandomBytes) {
  testing::ScratchDir dir;
  std::mt19937 rng(4242);
  for (int i = 0; i < 100; ++i) {
    const std::size_t size = std::uniform_int_distribution<std::size_t>(0, 4000)(rng);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
      const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
      c = kind == 0 ? '\n' : kind == 1 ? '\r' : static_cast<char>(rng() & 0xFF);
    }
    dir.Write("list.txt", bytes);
    NameList list;
    ASSERT_TRUE(LoadNameList(dir.File("list.txt"), list).ok()) << "input " << i;
    std::size_t lines = 1;
    for (char c : bytes) lines += c == '\n' ? 1 : 0;
    // Each line gives at most one entry per 1023 bytes, plus one.
    EXPECT_LE(list.size(), lines + size / 1023 + 1) << "input " << i;
    for (const std::string& entry : list) {
      EXPECT_EQ(entry.find('\n'), std::string::npos);
      // Bytes are decoded as Latin-1 when they are not UTF-8: at most two
      // bytes of UTF-8 a byte read.
      EXPECT_LE(entry.size(), 2u * 1023u);
    }
    (void)MatchNameList("SERVER01", list);
  }
}

}  // namespace
}  // namespace tabulon::format
