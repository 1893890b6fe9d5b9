// Registry editor files: every value form, the encodings the editor writes,
// and clear errors for malformed or junk input.
#include "estate/reg_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/text.h"

namespace tabulon::estate {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

std::string Wide(std::string_view utf8) {
  return text::Utf8ToUtf16Le(utf8);
}

// The single value `name` of HKLM\K after applying `body` below "[HKLM\K]".
struct Applied {
  RegFileResult result;
  RegistryTree tree{0};
  std::uint32_t Key(std::string_view path) const {
    return tree.Find(tree.root(Hive::kLocalMachine), path);
  }
};

Applied Apply(std::string_view bytes) {
  Applied a;
  a.result = ApplyRegFile(bytes, a.tree);
  return a;
}

TEST(RegFile, ValueForms) {
  struct Case {
    const char* line;
    std::uint32_t type;
    std::string data;
  };
  const Case cases[] = {
      {R"("S"="text")", platform::kRegSz, Wide("text") + std::string(2, '\0')},
      {R"("S"="")", platform::kRegSz, std::string(2, '\0')},
      {R"("S"="C:\\Program Files\\\"Q\"")", platform::kRegSz,
       Wide("C:\\Program Files\\\"Q\"") + std::string(2, '\0')},
      {R"("S"="caf\u00e9")", platform::kRegSz, Wide("caf\\u00e9") + std::string(2, '\0')},
      {R"("D"=dword:0000002a)", platform::kRegDword, std::string("\x2a\0\0\0", 4)},
      {R"("D"=dword:FFFFFFFF)", platform::kRegDword, std::string("\xff\xff\xff\xff", 4)},
      {R"("D"=DWORD:1)", platform::kRegDword, std::string("\x01\0\0\0", 4)},
      {R"("B"=hex:0a,ff, 00)", platform::kRegBinary, std::string("\x0a\xff\0", 3)},
      {R"("B"=hex:)", platform::kRegBinary, ""},
      {R"("Q"=hex(b):01,00,00,00,00,00,00,80)", platform::kRegQword,
       std::string("\x01\0\0\0\0\0\0\x80", 8)},
      {R"("E"=hex(2):25,00,41,00,25,00,00,00)", platform::kRegExpandSz, Wide("%A%") + '\0' + '\0'},
      {R"("M"=hex(7):61,00,00,00,62,00,00,00,00,00)", platform::kRegMultiSz,
       Wide("a") + std::string(2, '\0') + Wide("b") + std::string(4, '\0')},
      {R"("N"=hex(0):)", platform::kRegNone, ""},
      {R"(@="default")", platform::kRegSz, Wide("default") + std::string(2, '\0')},
      {R"(  "Spaced"  =  dword:00000002  )", platform::kRegDword, std::string("\x02\0\0\0", 4)},
  };
  for (const Case& c : cases) {
    const Applied a = Apply(std::string(kHeader) + "[HKEY_LOCAL_MACHINE\\K]\r\n" + c.line + "\r\n");
    ASSERT_TRUE(a.result.ok) << c.line << ": " << a.result.message;
    const std::uint32_t key = a.Key("K");
    ASSERT_NE(key, RegistryTree::kNoKey);
    ASSERT_EQ(a.tree.node(key).values.size(), 1u) << c.line;
    const RegistryValueData& v = a.tree.node(key).values.front();
    EXPECT_EQ(v.type, c.type) << c.line;
    EXPECT_EQ(v.data, c.data) << c.line;
  }
}

TEST(RegFile, ContinuationLinesCommentsAndNames) {
  const Applied a = Apply(std::string(kHeader) +
                          "; exported by hand\n"
                          "[HKEY_LOCAL_MACHINE\\Software\\Vendor]\n"
                          "\"Blob\"=hex:01,02,\\\n"
                          "  03,04,\\\n"
                          "  05\n"
                          "\"Name with \\\"quotes\\\"\"=\"x\"\n"
                          "[HKLM\\Software\\Vendor\\Sub]\n");
  ASSERT_TRUE(a.result.ok) << a.result.message;
  const std::uint32_t vendor = a.Key("SOFTWARE\\vendor");
  ASSERT_NE(vendor, RegistryTree::kNoKey);
  ASSERT_EQ(a.tree.node(vendor).values.size(), 2u);
  EXPECT_EQ(a.tree.node(vendor).values[0].data, std::string("\x01\x02\x03\x04\x05"));
  EXPECT_EQ(a.tree.node(vendor).values[1].name, "Name with \"quotes\"");
  EXPECT_NE(a.Key("Software\\Vendor\\Sub"), RegistryTree::kNoKey);
  EXPECT_EQ(a.tree.node(a.tree.root(Hive::kLocalMachine)).subkeys.size(), 1u);
}

TEST(RegFile, RemovingKeysAndValues) {
  const Applied a = Apply(std::string(kHeader) +
                          "[HKEY_LOCAL_MACHINE\\A\\B\\C]\n"
                          "[HKEY_LOCAL_MACHINE\\A]\n\"Keep\"=\"1\"\n\"Drop\"=\"2\"\n"
                          "[-HKEY_LOCAL_MACHINE\\A\\B]\n"
                          "\"Ignored\"=\"under a removed key\"\n"
                          "[HKEY_LOCAL_MACHINE\\A]\n\"drop\"=-\n\"Missing\"=-\n"
                          "[-HKEY_LOCAL_MACHINE\\Nowhere\\At\\All]\n");
  ASSERT_TRUE(a.result.ok) << a.result.message;
  EXPECT_EQ(a.Key("A\\B"), RegistryTree::kNoKey);
  const std::uint32_t key = a.Key("A");
  ASSERT_EQ(a.tree.node(key).values.size(), 1u);
  EXPECT_EQ(a.tree.node(key).values[0].name, "Keep");
  EXPECT_TRUE(a.tree.node(key).subkeys.empty());
}

TEST(RegFile, SettingAValueAgainKeepsItsPlaceAndTakesTheNewData) {
  const Applied a =
      Apply(std::string(kHeader) + "[HKLM\\K]\n\"A\"=\"1\"\n\"B\"=\"2\"\n\"a\"=dword:00000003\n");
  ASSERT_TRUE(a.result.ok) << a.result.message;
  const auto& values = a.tree.node(a.Key("K")).values;
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].name, "A");
  EXPECT_EQ(values[0].type, platform::kRegDword);
}

// Large enough that a lookup by scanning the key's values (quadratic in
// their number) runs far beyond the test timeout; linear loading takes a
// fraction of a second.
TEST(RegFile, ManyValuesInOneKeyLoadInLinearTime) {
  constexpr int kValues = 100000;
  std::string bytes = std::string(kHeader) + "[HKLM\\K]\n";
  for (int i = 0; i < kValues; ++i) bytes += "\"Value" + std::to_string(i) + "\"=dword:1\n";
  for (int i = 0; i < kValues; i += 1000) {
    bytes +=
        "\"VALUE" + std::to_string(i) + "\"=\"again\"\n\"value" + std::to_string(i + 1) + "\"=-\n";
  }
  const Applied a = Apply(bytes);
  ASSERT_TRUE(a.result.ok) << a.result.message;
  const std::uint32_t key = a.Key("K");
  const auto& values = a.tree.node(key).values;
  ASSERT_EQ(values.size(), static_cast<std::size_t>(kValues - kValues / 1000));
  EXPECT_EQ(values[0].name, "Value0");
  EXPECT_EQ(values[0].type, platform::kRegSz);
  EXPECT_EQ(values[1].name, "Value2");
  EXPECT_EQ(values[1].type, platform::kRegDword);
  EXPECT_EQ(values.back().name, "Value" + std::to_string(kValues - 1));
  EXPECT_EQ(a.tree.FindValue(key, "value1001"), nullptr);
  const RegistryValueData* found = a.tree.FindValue(key, "VALUE99000");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->name, "Value99000");
  EXPECT_EQ(found->data, Wide("again") + std::string(2, '\0'));
  EXPECT_EQ(a.tree.FindValue(key, "Value99999"), &values.back());
}

TEST(RegFile, SubkeysAreKeptInUpperCaseOrder) {
  const Applied a = Apply(std::string(kHeader) +
                          "[HKLM\\K\\beta]\n[HKLM\\K\\Alpha]\n[HKLM\\K\\_x]\n"
                          "[HKLM\\K\\ALPHA\\deeper]\n");
  ASSERT_TRUE(a.result.ok);
  std::vector<std::string> names;
  for (std::uint32_t child : a.tree.node(a.Key("K")).subkeys) {
    names.push_back(a.tree.node(child).name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "_x"}));
}

TEST(RegFile, Encodings) {
  const std::string body =
      "[HKEY_LOCAL_MACHINE\\K]\r\n\"S\"=\"Gr\xC3\xBC\xC3\x9F"
      "e\"\r\n";
  const std::string expected = Wide(
                                   "Gr\xC3\xBC\xC3\x9F"
                                   "e") +
                               std::string(2, '\0');
  const std::string utf16 = "\xFF\xFE" + Wide(std::string(kHeader) + body);
  const std::string utf8_mark = "\xEF\xBB\xBF" + std::string(kHeader) + body;
  const std::string latin1 = std::string(kHeader) + text::Utf8ToLatin1(body);
  for (const std::string& bytes : {utf16, utf8_mark, latin1}) {
    const Applied a = Apply(bytes);
    ASSERT_TRUE(a.result.ok) << a.result.message;
    EXPECT_EQ(a.tree.node(a.Key("K")).values.at(0).data, expected);
  }
}

TEST(RegFile, Version4TextsInHexAreEightBit) {
  const Applied a = Apply(
      "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\K]\n"
      "\"E\"=hex(2):25,41,25,00\n\"M\"=hex(7):61,00,e9,00,00\n\"B\"=hex:25,41\n");
  ASSERT_TRUE(a.result.ok) << a.result.message;
  const auto& values = a.tree.node(a.Key("K")).values;
  EXPECT_EQ(values[0].data, Wide("%A%") + std::string(2, '\0'));
  EXPECT_EQ(values[1].data,
            Wide("a") + std::string(2, '\0') + Wide("\xC3\xA9") + std::string(4, '\0'));
  EXPECT_EQ(values[2].data, "%A");
}

TEST(RegFile, ProblemsNameTheirLine) {
  struct Case {
    std::string text;
    std::size_t line;
    const char* message_part;
  };
  const std::string h(kHeader);  // lines 1 and 2
  const Case cases[] = {
      {"REGEDIT5\n", 1, "expected the header"},
      {"", 1, "expected the header"},
      {h + "\"V\"=\"x\"\n", 3, "before the first [key] line"},
      {h + "[HKEY_NOWHERE\\K]\n", 3, "unknown hive 'HKEY_NOWHERE'"},
      {h + "[HKLM\\K\n", 3, "must end with ']'"},
      {h + "[HKLM\\" + std::string(256, 'k') + "]\n", 3, "longer than 255"},
      {h + "[HKLM\\K]\nplain text\n", 4, "expected a [key] line"},
      {h + "[HKLM\\K]\n\"V\"\n", 4, "expected '='"},
      {h + "[HKLM\\K]\n\"V=\"x\"\n", 4, "expected '='"},
      {h + "[HKLM\\K]\n\"V\"=\"open\n", 4, "no closing"},
      {h + "[HKLM\\K]\n\"V\"=\"x\" tail\n", 4, "after the closing"},
      {h + "[HKLM\\K]\n\"V\"=dword:123456789\n", 4, "one to eight hexadecimal digits"},
      {h + "[HKLM\\K]\n\"V\"=dword:\n", 4, "one to eight hexadecimal digits"},
      {h + "[HKLM\\K]\n\"V\"=dword:12g\n", 4, "one to eight hexadecimal digits"},
      {h + "[HKLM\\K]\n\"V\"=hex:1,2,345\n", 4, "'345'"},
      {h + "[HKLM\\K]\n\"V\"=hex:01,,02\n", 4, "''"},
      {h + "[HKLM\\K]\n\"V\"=hex:01,\n", 4, "ends with ','"},
      {h + "[HKLM\\K]\n\"V\"=hex(zz):01\n", 4, "hex(n) needs"},
      {h + "[HKLM\\K]\n\"V\"=hex(2:01\n", 4, "hex(n) needs"},
      {h + "[HKLM\\K]\n\"V\"=hex;01\n", 4, "expected ':'"},
      {h + "[HKLM\\K]\n\"V\"=hex:01,\\", 4, "the file ends"},
      {h + "[HKLM\\K]\n\"V\"=hex:01,\\\n  zz\n", 4, "'zz'"},
      {h + "[HKLM\\K]\n\"V\"=str:abc\n", 4, "unknown value data"},
      {h + "[HKLM\\K]\n\"V\"=\n", 4, "unknown value data"},
      {h + "[HKLM\\K]\n\"" + std::string(16384, 'n') + "\"=\"x\"\n", 4, "longer than 16383"},
      {h + std::string("[HKLM\\K]\n\"V\"=\"a\0b\"\n"sv), 4, "NUL character"},
      {"\xFF\xFE" + Wide(h) + "x", 0, "middle of a character"},
      {"\xFE\xFF" + h, 0, "big-endian"},
  };
  for (const Case& c : cases) {
    const Applied a = Apply(c.text);
    EXPECT_FALSE(a.result.ok) << c.text;
    EXPECT_EQ(a.result.line, c.line) << c.text << " -> " << a.result.message;
    EXPECT_NE(a.result.message.find(c.message_part), std::string::npos)
        << c.text << " -> " << a.result.message;
  }
}

TEST(RegFile, JunkNeverCrashesAndKeysStayReadable) {
  std::mt19937 random(7);
  const std::string alphabet = "[]\\\"=:,-@;(hexdwordHKLM_0123456789abcdef \r\n\t\xFF\xFE\x00";
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = round % 2 == 0 ? std::string(kHeader) : std::string();
    const std::size_t length = random() % 200;
    for (std::size_t i = 0; i < length; ++i) {
      bytes +=
          round % 3 == 0 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
    }
    RegistryTree tree(0);
    const RegFileResult result = ApplyRegFile(bytes, tree);
    if (!result.ok) {
      EXPECT_FALSE(result.message.empty());
    }
    EXPECT_EQ(tree.Find(tree.root(Hive::kUsers), ""), tree.root(Hive::kUsers));
  }
}

}  // namespace
}  // namespace tabulon::estate
