#include "engine/column_list.h"

#include <gtest/gtest.h>

#include <random>

namespace tabulon {
namespace {

TEST(ColumnList, Items) {
  struct Case {
    const char* text;
    std::vector<std::uint32_t> columns;
  } cases[] = {
      {"1002,0,1", {1002, 0, 1}},
      {"3,,0", {3, 0, 0}},
      {"", {0}},
      {" 4, 5x,", {4, 5, 0}},
      {"-1", {0xFFFFFFFFu}},
      {"abc", {0}},
      // Beyond the integer range: saturated, never wrapped onto a real column.
      {"0,99999999999999999999,1", {0, 0x7FFFFFFFu, 1}},
      {"4294967296,4294967297", {0x7FFFFFFFu, 0x7FFFFFFFu}},
      {"-4294967296", {0x80000000u}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseColumnList(c.text), c.columns) << c.text;
}

TEST(ColumnList, RandomBytesGiveOneColumnPerComma) {
  std::mt19937 rng(7);
  for (int i = 0; i < 2000; ++i) {
    std::string text(std::uniform_int_distribution<std::size_t>(0, 200)(rng), '\0');
    std::size_t commas = 0;
    for (char& c : text) {
      c = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
      if (std::uniform_int_distribution<int>(0, 5)(rng) == 0) c = ',';
      if (c == ',') ++commas;
    }
    ASSERT_EQ(ParseColumnList(text).size(), commas + 1);
  }
}

}  // namespace
}  // namespace tabulon
