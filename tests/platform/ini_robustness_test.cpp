// Random and truncated input to the INI reader: it must never crash, hang or
// lose a value it was asked to write.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/ini_document.h"
#include "platform/text.h"

namespace tabulon::platform {
namespace {

std::string RandomIni(std::mt19937& rng) {
  static const char* kPieces[] = {
      "[",           "]",          "=",  "\r\n",     "\n",           ";",    "General", "Key",
      " ",           "\t",         "\"", "\xFF\xFE", "\xEF\xBB\xBF", "\xC3", "\0",      "\xE9",
      "[General]\n", "Key=Value\n"};
  std::string out;
  const int pieces = std::uniform_int_distribution<int>(0, 60)(rng);
  for (int i = 0; i < pieces; ++i) {
    if (std::uniform_int_distribution<int>(0, 3)(rng) == 0) {
      out.push_back(static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng)));
    } else {
      const auto& p =
          kPieces[std::uniform_int_distribution<std::size_t>(0, std::size(kPieces) - 1)(rng)];
      out += (p[0] == '\0') ? std::string(1, '\0') : std::string(p);
    }
  }
  return out;
}

TEST(IniRobustness, RandomInputParsesAndWritesBack) {
  std::mt19937 rng(20261205);
  for (int i = 0; i < 3000; ++i) {
    std::string bytes = RandomIni(rng);
    if (i % 3 == 0 && !bytes.empty()) bytes.resize(bytes.size() / 2);  // truncated
    IniDocument doc = IniDocument::Parse(bytes);
    (void)doc.Get("General", "Key");
    doc.Set("Tabulon", "Probe", "value 1");
    doc.Set("General", "Key", "v=2");
    const IniDocument again = IniDocument::Parse(doc.Serialize());
    ASSERT_EQ(again.Get("Tabulon", "Probe").value_or("<missing>"), "value 1") << "input " << i;
    const auto key = again.Get("General", "Key");
    ASSERT_TRUE(key.has_value()) << "input " << i;
  }
}

TEST(IniRobustness, HugeLineAndManySections) {
  std::string bytes = "[A]\nBig=" + std::string(4'000'000, 'x') + "\n";
  for (int i = 0; i < 20000; ++i)
    bytes += "[S" + std::to_string(i) + "]\nK=" + std::to_string(i) + "\n";
  const IniDocument doc = IniDocument::Parse(bytes);
  EXPECT_EQ(doc.Get("A", "Big")->size(), 4'000'000u);
  EXPECT_EQ(doc.Get("s19999", "k").value_or(""), "19999");
}

TEST(IniRobustness, OddUtf16) {
  // An odd byte count and a lone surrogate still give a readable document.
  constexpr char kRaw[] = "\xFF\xFE[\0A\0]\0\n\0K\0=\0\x00\xD8\n\0Z";
  const std::string bytes(kRaw, sizeof kRaw - 1);
  const IniDocument doc = IniDocument::Parse(bytes);
  EXPECT_EQ(doc.encoding(), TextEncoding::kUtf16Le);
  EXPECT_EQ(doc.Get("A", "K").value_or("<missing>"), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace tabulon::platform
