#include "format/pe_version.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/pe_image.h"

namespace tabulon::format {
namespace {

using namespace tabulon::testing;  // NOLINT(google-build-using-namespace): the image builders

ByteRangeReader ReaderOf(const std::string& bytes) {
  return [&bytes](std::uint64_t offset, std::size_t size, std::vector<std::uint8_t>& out) {
    out.clear();
    if (offset >= bytes.size()) return true;
    const std::size_t n = std::min<std::uint64_t>(size, bytes.size() - offset);
    out.assign(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
               bytes.begin() + static_cast<std::ptrdiff_t>(offset + n));
    return true;
  };
}

PeVersionResult Read(const std::string& bytes) {
  return ReadPeVersion(ReaderOf(bytes));
}

std::string Image(const VersionSpec& v = {}, bool plus = false) {
  return PeImage({plus, {{0x409, VersionInfoBytes(v)}}});
}

TEST(PeVersion, ReadsFixedInfoStringsAndTranslationOfBothHeaderKinds) {
  for (const bool plus : {false, true}) {
    const PeVersionResult r = Read(Image({}, plus));
    ASSERT_EQ(r.status, PeVersionStatus::kOk) << plus;
    ASSERT_TRUE(r.version.fixed.has_value());
    EXPECT_EQ(r.version.fixed->file_version_ms, 0x00010002u);
    EXPECT_EQ(r.version.fixed->product_version_ls, 0x00070008u);
    EXPECT_EQ(r.version.fixed->file_os, 0x40004u);
    EXPECT_EQ(r.version.fixed->file_type, 1u);
    EXPECT_EQ(VersionString(r.version, "CompanyName"), "Wendrock Ltd");
    EXPECT_EQ(VersionString(r.version, "productname"), "Ledger");
    EXPECT_EQ(VersionString(r.version, "Comments"), "");
  }
}

// Strings come from the table of the first translation only.
TEST(PeVersion, StringsOfTheFirstTranslation) {
  VersionSpec v;
  v.tables = {{"040704B0", {{"ProductName", "Hauptbuch"}}},
              {"040904b0", {{"ProductName", "Ledger"}}}};
  struct Case {
    std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;
    std::string product;
  };
  for (const Case& c :
       {Case{{{0x407, 1200}, {0x409, 1200}}, "Hauptbuch"},
        Case{{{0x409, 1200}, {0x407, 1200}}, "Ledger"}, Case{{{0x409, 1252}}, ""}, Case{{}, ""}}) {
    v.translations = c.translations;
    const PeVersionResult r = Read(Image(v));
    ASSERT_EQ(r.status, PeVersionStatus::kOk);
    EXPECT_EQ(VersionString(r.version, "ProductName"), c.product);
  }
}

// Of several languages: neutral, else US English, else the first.
TEST(PeVersion, LanguageSelection) {
  const auto block = [](const char* product) {
    VersionSpec v;
    v.tables = {{"040904b0", {{"ProductName", product}}}};
    return VersionInfoBytes(v);
  };
  using Languages = std::vector<std::pair<std::uint16_t, const char*>>;
  struct Case {
    Languages languages;
    std::string chosen;
  };
  for (const Case& c : {Case{{{0x407, "de"}, {0x409, "us"}}, "us"},
                        Case{{{0x409, "us"}, {0, "neutral"}, {0x407, "de"}}, "neutral"},
                        Case{{{0x40C, "fr"}, {0x407, "de"}}, "fr"}}) {
    PeSpec spec;
    for (const auto& [language, product] : c.languages) {
      spec.languages.emplace_back(language, block(product));
    }
    const PeVersionResult r = Read(PeImage(spec));
    ASSERT_EQ(r.status, PeVersionStatus::kOk);
    EXPECT_EQ(VersionString(r.version, "ProductName"), c.chosen);
  }
}

TEST(PeVersion, FilesWithoutVersion) {
  const std::string not_pe = "This program cannot be run in DOS mode.";
  EXPECT_EQ(Read(not_pe).status, PeVersionStatus::kNotExecutable);
  EXPECT_EQ(Read("").status, PeVersionStatus::kNotExecutable);
  std::string no_signature = Image();
  no_signature[0x40] = 'X';
  EXPECT_EQ(Read(no_signature).status, PeVersionStatus::kNotExecutable);
  EXPECT_EQ(Read(PeImage({false, {}})).status, PeVersionStatus::kNoVersion);
  const ByteRangeReader failing = [](std::uint64_t, std::size_t, std::vector<std::uint8_t>&) {
    return false;
  };
  EXPECT_EQ(ReadPeVersion(failing).status, PeVersionStatus::kReadFailed);
}

// Every cut of a good image, and images whose offsets lie, end in a status.
TEST(PeVersion, TruncatedAndLyingImages) {
  const std::string good = Image();
  const std::size_t end = good.find_last_not_of('\0') + 1;
  for (std::size_t cut = 0; cut < end; ++cut) {
    EXPECT_NE(Read(good.substr(0, cut)).status, PeVersionStatus::kOk) << cut;
  }
  const auto patched = [&good](std::size_t at, std::uint32_t value) {
    std::string s = good;
    const std::string v = PeLe32(value);
    std::memcpy(s.data() + at, v.data(), 4);
    return s;
  };
  const std::size_t section = kPeSectionFileOffset;
  const std::size_t resource_at = 0x40 + 24 + 96 + 2 * 8;
  for (const std::string& bad : {
           patched(0x3C, 0xFFFFFFF0),               // PE header past the end
           patched(resource_at, 0x5000),            // tree outside every section
           patched(section + 20, 0x80000000),       // type entry points back at the root
           patched(section + 44, 0x80000000 | 24),  // name entry points at itself
           patched(section + 48 + 12, 0xFFFF),      // language count past the tree
           patched(section + 64 + 8, 0x7FFFFFF0),   // data outside every section
       }) {
    EXPECT_NE(Read(bad).status, PeVersionStatus::kOk);
  }
}

// A block whose strings count their length in bytes, as some writers do,
// reads the same; a block too short for its own header is refused.
TEST(PeVersion, VersionBlockQuirks) {
  std::string block = VersionInfoBytes({});
  VersionResource v;
  ASSERT_TRUE(ParseVersionBlock({block.begin(), block.end()}, v));
  const std::string company = "CompanyName";
  const std::size_t key_at = block.find(Utf16z(company));
  ASSERT_NE(key_at, std::string::npos);
  block[key_at - 4] = static_cast<char>(26);  // bytes of "Wendrock Ltd" and terminator
  ASSERT_TRUE(ParseVersionBlock({block.begin(), block.end()}, v));
  EXPECT_EQ(VersionString(v, company), "Wendrock Ltd");
  EXPECT_FALSE(ParseVersionBlock({0x04, 0x00, 0x00, 0x00}, v));
}

}  // namespace
}  // namespace tabulon::format
