#include "format/sddl_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "descriptor_bytes.h"
#include "format/sddl.h"
#include "format/sddl_vocabulary.h"

namespace tabulon::format {
namespace {

using namespace testing;  // NOLINT(google-build-using-namespace): the byte builders

const std::optional<platform::Sid> kDomain = platform::Sid::Parse("S-1-5-21-1-2-3");

std::string RoundTrip(const std::string& text) {
  const SddlParse parse = ReadSddl(text, kDomain);
  EXPECT_TRUE(parse.ok()) << text << ": " << SddlErrorText(parse.status, parse.position);
  return SddlText(parse.value);
}

// Every code the writer knows reads back to itself; the owner puts the
// writer in the same domain the reader resolves against.
TEST(SddlReader, EveryCodeRoundTrips) {
  std::vector<std::string> texts;
  for (const sddl::SidAlias& a : sddl::kWellKnownSids) {
    texts.push_back("O:" + std::string(a.alias) + "G:" + std::string(a.alias));
  }
  for (const sddl::RidAlias& r : sddl::kDomainRids) {
    texts.push_back("O:DAD:(A;;GA;;;" + std::string(r.alias) + ")");
  }
  for (const sddl::NamedBits& r : sddl::kRightBits) {
    texts.push_back("D:(A;;" + std::string(r.code) + ";;;WD)");
  }
  for (const sddl::NamedBits& r : sddl::kCompositeRights) {
    if (r.code != "KX") texts.push_back("D:(A;;" + std::string(r.code) + ";;;WD)");
  }
  for (const sddl::NamedBits& f : sddl::kAceFlags) {
    texts.push_back("S:(AU;" + std::string(f.code) + ";GA;;;WD)");
  }
  for (const sddl::AceTypeCode& t : sddl::kAceTypes) {
    texts.push_back("S:(" + std::string(t.code) + ";;GA;;;WD)");
  }
  texts.insert(texts.end(),
               {"", "D:", "D:NO_ACCESS_CONTROL", "D:PARAI(A;OICIIO;CCDCRC;;;S-1-5-21-9-9-9-500)",
                "O:S-1-5-21-1-2-3-1105D:(D;;0x1200a9;;;LA)S:PAI",
                "D:(OA;CI;CR;ab721a53-1e2f-11d0-9819-00aa0040529b;;WD)"
                "(OD;;WP;;ab721a53-1e2f-11d0-9819-00aa0040529b;BU)(OA;;RP;;;BU)"});
  for (const std::string& text : texts) EXPECT_EQ(RoundTrip(text), text);
}

TEST(SddlReader, OtherSpellingsOfTheSameDescriptor) {
  struct Case {
    const char* text;
    const char* written;
  } cases[] = {
      {"D:(A;;KX;;;WD)", "D:(A;;KR;;;WD)"},
      {"D:(A;;2032127;;;WD)", "D:(A;;FA;;;WD)"},
      {"D:(A;;0X10;;;WD)", "D:(A;;RP;;;WD)"},
      {"D:(A;;FRWD;;;WD)", "D:(A;;0x160089;;;WD)"},
      {"D:AIP(A;CIOI;GA;;;S-1-5-32-544)", "D:PAI(A;OICI;GA;;;BA)"},
      {"S:ARD:PG:SYO:BA", "O:BAG:SYD:PS:AR"},
      {"O:S-1-0x5-18", "O:SY"},
      {"G:S-1-0x000C3A8D1F11D:", "G:S-1-0x000C3A8D1F11D:"},
  };
  for (const Case& c : cases) EXPECT_EQ(RoundTrip(c.text), c.written) << c.text;
}

TEST(SddlReader, BytesAreTheSelfRelativeForm) {
  const std::string system = SidBytes(5, {18});
  const std::string admins = SidBytes(5, {32, 544});
  const std::string guid = Le32(0xab721a53) + Le16(0x1e2f) + Le16(0x11d0) +
                           std::string("\x98\x19\x00\xaa\x00\x40\x52\x9b", 8);
  const std::string expected =
      DescriptorBytes(kSeSelfRelative | kSeDaclPresent | kSeDaclProtected | kSeSaclPresent, admins,
                      system, AclBytes({AceBytes(2, 0xC0, 0x10000, system)}),
                      std::string{4} + AclBytes({AceBytes(0, 0x3, 0x1F01FF, system),
                                                 AceBytes(5, 0x2, 0x100, admins, Le32(1) + guid)})
                                           .substr(1));
  const SddlBytes read = SddlToBytes(
      "O:BAG:SYD:P(A;OICI;FA;;;SY)(OA;CI;CR;ab721a53-1e2f-11d0-9819-00aa0040529b;;BA)"
      "S:(AU;SAFA;SD;;;SY)",
      kDomain);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(std::string(read.bytes.begin(), read.bytes.end()), expected);
  EXPECT_TRUE(ParseSecurityDescriptor(read.bytes).ok());
}

TEST(SddlReader, BadTextGivesStatusAndPosition) {
  struct Case {
    const char* text;
    SddlStatus status;
    std::size_t position;
  } cases[] = {
      {"X:BA", SddlStatus::kBadPart, 0},
      {"O:BAO:SY", SddlStatus::kBadPart, 4},
      {"D:D:", SddlStatus::kBadPart, 2},
      {"BA", SddlStatus::kBadPart, 0},
      {"O:ZZ", SddlStatus::kBadSid, 2},
      {"O:S-1-", SddlStatus::kBadSid, 2},
      {"O:S-2-5-18", SddlStatus::kBadSid, 2},
      {"O:B", SddlStatus::kBadSid, 2},
      {"D:PQ(A;;GA;;;WD)", SddlStatus::kBadAclFlags, 3},
      {"D:(X;;GA;;;WD)", SddlStatus::kBadAce, 3},
      {"D:(A;OIXX;GA;;;WD)", SddlStatus::kBadAce, 7},
      {"D:(A;;GA;;WD)", SddlStatus::kBadGuid, 10},
      {"D:(A;;GA;;;WD", SddlStatus::kBadAce, 13},
      {"D:(A;;GA;;;WD;x)", SddlStatus::kBadAce, 13},
      {"D:NO_ACCESS_CONTROL(A;;GA;;;WD)", SddlStatus::kBadAce, 19},
      {"D:(A;;GAQQ;;;WD)", SddlStatus::kBadRights, 8},
      {"D:(A;;0x1FFFFFFFF;;;WD)", SddlStatus::kBadRights, 6},
      {"D:(A;;0x;;;WD)", SddlStatus::kBadRights, 6},
      {"D:(OA;;CR;ab721a53-1e2f-11d0-9819;;WD)", SddlStatus::kBadGuid, 10},
      {"D:(A;;CR;ab721a53-1e2f-11d0-9819-00aa0040529b;;WD)", SddlStatus::kBadGuid, 9},
  };
  for (const Case& c : cases) {
    const SddlParse parse = ReadSddl(c.text, kDomain);
    EXPECT_EQ(parse.status, c.status) << c.text;
    EXPECT_EQ(parse.position, c.position) << c.text;
  }
  const SddlParse no_domain = ReadSddl("O:BAD:(A;;GA;;;DA)", std::nullopt);
  EXPECT_EQ(no_domain.status, SddlStatus::kNoDomain);
  EXPECT_EQ(SddlErrorText(no_domain.status, no_domain.position),
            "domain alias without a domain at character 16");

  std::string huge = "D:";
  for (int i = 0; i < 3000; ++i) huge += "(A;;GA;;;S-1-5-21-1-2-3-1105)";
  EXPECT_EQ(ReadSddl(huge, kDomain).status, SddlStatus::kTooLarge);
}

}  // namespace
}  // namespace tabulon::format
