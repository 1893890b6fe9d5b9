// The lsarpc, samr and netlogon calls: request stubs against bytes worked
// out by hand from the interface definitions (enums travel as 16 bits, SIDs
// carry their conformance first), and hand-built replies decoded.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/remote/lsarpc_codec.h"
#include "platform/remote/lsarpc_policy_codec.h"
#include "platform/remote/netlogon_codec.h"
#include "platform/remote/sample_stubs.h"
#include "platform/remote/samr_codec.h"
#include "platform/remote/samr_domain_codec.h"
#include "platform/remote/samr_names_codec.h"
#include "platform/remote/samr_user_codec.h"

namespace tabulon::platform::remote {
namespace {

ndr::ContextHandle Handle1To20() {
  ndr::ContextHandle h;
  for (std::uint8_t i = 0; i < 20; ++i) h.bytes[i] = static_cast<std::uint8_t>(i + 1);
  return h;
}

std::vector<std::uint8_t> WithHandle(std::vector<std::uint8_t> rest) {
  std::vector<std::uint8_t> out;
  for (std::uint8_t i = 1; i <= 20; ++i) out.push_back(i);
  for (const std::uint8_t b : rest) out.push_back(b);
  return out;
}

struct EncodeCase {
  const char* name;
  std::vector<std::uint8_t> actual;
  std::vector<std::uint8_t> expected;
};

// clang-format off
std::vector<EncodeCase> Cases() {
  const std::vector<Sid> admins{*Sid::Parse("S-1-5-32-544")};
  const std::vector<std::string> names{"ab"};
  const std::vector<std::uint32_t> rids{500, 1105};
  return {
    {"LsarOpenPolicy2", lsarpc::EncodeOpenPolicy2("", 0x800), {
        0, 0, 0, 0,                                      // SystemName: null
        0x18, 0, 0, 0,                                   // ObjectAttributes: Length 24
        0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,            // root, name, attributes
        0, 0, 0, 0,  0, 0, 0, 0,                         // descriptor, quality of service
        0x00, 0x08, 0, 0}},                              // POLICY_LOOKUP_NAMES
    {"LsarLookupSids", lsarpc::EncodeLookupSids(Handle1To20(), admins, 1), WithHandle({
        0x01, 0, 0, 0,  0x00, 0x00, 0x02, 0x00,          // Entries, SidInfo
        0x01, 0, 0, 0,  0x04, 0x00, 0x02, 0x00,          // conformance, Sid pointer
        0x02, 0, 0, 0,                                   // SID conformance
        0x01, 0x02, 0, 0, 0, 0, 0, 0x05,                 // revision, count, authority
        0x20, 0, 0, 0,  0x20, 0x02, 0, 0,                // 32, 544
        0, 0, 0, 0,  0, 0, 0, 0,                         // TranslatedNames: none
        0x01, 0x00, 0, 0,                                // LsapLookupWksta, padding
        0, 0, 0, 0})},                                   // MappedCount
    {"LsarLookupNames3", lsarpc::EncodeLookupNames3(Handle1To20(), names, 1), WithHandle({
        0x01, 0, 0, 0,  0x01, 0, 0, 0,                   // Count, conformance
        0x04, 0x00, 0x04, 0x00,  0x00, 0x00, 0x02, 0x00, // Length, MaximumLength, Buffer
        0x02, 0, 0, 0,  0, 0, 0, 0,  0x02, 0, 0, 0,      // "ab" without NUL
        0x61, 0, 0x62, 0,
        0, 0, 0, 0,  0, 0, 0, 0,                         // TranslatedSids: none
        0x01, 0x00, 0, 0,                                // level, padding
        0, 0, 0, 0,  0, 0, 0, 0,  0x02, 0, 0, 0})},      // MappedCount, options, revision 2
    {"SamrOpenDomain", samr::EncodeOpenDomain(Handle1To20(), 0x300,
                                              *Sid::Parse("S-1-5-21-1-2-3")), WithHandle({
        0x00, 0x03, 0, 0,                                // DOMAIN_LOOKUP | DOMAIN_LIST_ACCOUNTS
        0x04, 0, 0, 0,  0x01, 0x04, 0, 0, 0, 0, 0, 0x05, // conformance, revision, count, authority
        21, 0, 0, 0,  1, 0, 0, 0,  2, 0, 0, 0,  3, 0, 0, 0})},
    {"SamrQueryDisplayInformation3", samr::EncodeQueryDisplayInformation3(
         Handle1To20(), samr::DisplayClass::kMachine, 5, 100, 0x1000), WithHandle({
        0x02, 0x00, 0, 0,                                // DomainDisplayMachine, padding
        0x05, 0, 0, 0,  0x64, 0, 0, 0,  0x00, 0x10, 0, 0})},
    {"SamrEnumerateUsersInDomain", samr::EncodeEnumerateUsers(Handle1To20(), 0, 0x10, 0xFFFF),
     WithHandle({0, 0, 0, 0,  0x10, 0, 0, 0,  0xff, 0xff, 0, 0})},
    {"SamrGetAliasMembership", samr::EncodeGetAliasMembership(Handle1To20(), admins), WithHandle({
        0x01, 0, 0, 0,  0x00, 0x00, 0x02, 0x00,          // Count, Sids
        0x01, 0, 0, 0,  0x04, 0x00, 0x02, 0x00,          // conformance, SidPointer
        0x02, 0, 0, 0,  0x01, 0x02, 0, 0, 0, 0, 0, 0x05, 0x20, 0, 0, 0,  0x20, 0x02, 0, 0})},
    {"SamrLookupIdsInDomain", samr::EncodeLookupIds(Handle1To20(), rids), WithHandle({
        0x02, 0, 0, 0,                                   // Count
        0xe8, 0x03, 0, 0,  0, 0, 0, 0,  0x02, 0, 0, 0,   // size_is(1000), offset, length_is(Count)
        0xf4, 0x01, 0, 0,  0x51, 0x04, 0, 0})},
    {"SamrLookupNamesInDomain", samr::EncodeLookupNames(Handle1To20(), names), WithHandle({
        0x01, 0, 0, 0,                                   // Count
        0xe8, 0x03, 0, 0,  0, 0, 0, 0,  0x01, 0, 0, 0,   // size_is(1000), offset, length_is(Count)
        0x04, 0x00, 0x04, 0x00,  0x00, 0x00, 0x02, 0x00, // Length, MaximumLength, Buffer
        0x02, 0, 0, 0,  0, 0, 0, 0,  0x02, 0, 0, 0,      // "ab" without NUL
        0x61, 0, 0x62, 0})},
    {"SamrQueryInformationDomain2", samr::EncodeQueryDomainInformation2(
         Handle1To20(), samr::DomainInformationClass::kLockout), WithHandle({0x0c, 0x00})},
    {"LsarEnumerateAccountsWithUserRight",
     lsarpc::EncodeEnumerateAccountsWithUserRight(Handle1To20(), "Se"), WithHandle({
        0x00, 0x00, 0x02, 0x00,                          // UserRight
        0x04, 0x00, 0x04, 0x00,  0x04, 0x00, 0x02, 0x00, // Length, MaximumLength, Buffer
        0x02, 0, 0, 0,  0, 0, 0, 0,  0x02, 0, 0, 0,  0x53, 0, 0x65, 0})},
    {"LsarLookupPrivilegeDisplayName",
     lsarpc::EncodeLookupPrivilegeDisplayName(Handle1To20(), "Se", 0x409, 0x407), WithHandle({
        0x04, 0x00, 0x04, 0x00,  0x00, 0x00, 0x02, 0x00, // Name: a reference, no referent id
        0x02, 0, 0, 0,  0, 0, 0, 0,  0x02, 0, 0, 0,  0x53, 0, 0x65, 0,
        0x09, 0x04,  0x07, 0x04})},                      // the two languages
    {"NetrGetDCName", netlogon::EncodeGetDcName("\\\\S", "D"), {
        0x04, 0, 0, 0,  0, 0, 0, 0,  0x04, 0, 0, 0,      // ServerName: a reference
        0x5c, 0, 0x5c, 0, 0x53, 0, 0, 0,
        0x00, 0x00, 0x02, 0x00,                          // DomainName referent id
        0x02, 0, 0, 0,  0, 0, 0, 0,  0x02, 0, 0, 0,  0x44, 0, 0, 0}},
    {"DsrGetDcNameEx2", netlogon::EncodeGetDcNameEx2("", "corp", 0x80000080), {
        0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,            // computer, account, control bits
        0x00, 0x00, 0x02, 0x00,                          // DomainName
        0x05, 0, 0, 0,  0, 0, 0, 0,  0x05, 0, 0, 0,
        0x63, 0, 0x6f, 0, 0x72, 0, 0x70, 0, 0, 0,  0, 0, // "corp" NUL, padding
        0, 0, 0, 0,  0, 0, 0, 0,                         // DomainGuid, SiteName
        0x80, 0, 0, 0x80}},                              // PDC required, flat name
  };
}
// clang-format on

TEST(AccountRequestEncoding, MatchesHandDerivedBytes) {
  for (const auto& c : Cases()) {
    EXPECT_EQ(c.actual, c.expected) << c.name;
  }
}

TEST(LsarpcDecoding, TranslationsWithTheirDomains) {
  const lsarpc::LookupSidsReply names = lsarpc::DecodeLookupSids(testing::LookupSidsReply());
  ASSERT_EQ(names.status, win::ERROR_SUCCESS);
  ASSERT_EQ(names.domains.size(), 1u);
  EXPECT_EQ(names.domains[0].name, "CORP");
  EXPECT_EQ(names.domains[0].sid.ToString(), "S-1-5-21-1-2-3");
  ASSERT_EQ(names.names.size(), 1u);
  EXPECT_EQ(names.names[0].use, SidNameUse::kUser);
  EXPECT_EQ(names.names[0].name, "alice");
  EXPECT_EQ(names.names[0].domain_index, 0);

  const lsarpc::LookupNamesReply sids = lsarpc::DecodeLookupNames3(testing::LookupNames3Reply());
  ASSERT_EQ(sids.status, win::ERROR_SUCCESS);
  ASSERT_EQ(sids.sids.size(), 1u);
  EXPECT_TRUE(sids.sids[0].has_sid);
  EXPECT_EQ(sids.sids[0].sid.ToString(), "S-1-5-21-1-2-3-1105");
  EXPECT_EQ(sids.domains.at(0).name, "CORP");
}

TEST(SamrDecoding, DomainsAndMachinePage) {
  const RidEnumerationReply domains = DecodeRidEnumeration(testing::EnumerateDomainsReply());
  ASSERT_EQ(domains.entries.size(), 2u);
  EXPECT_EQ(domains.entries[1].name, "Builtin");
  EXPECT_EQ(samr::DecodeLookupDomain(testing::LookupDomainReply()).domain.ToString(),
            "S-1-5-21-1-2-3");

  const DisplayMachinesResult page =
      samr::DecodeQueryDisplayMachines(testing::DisplayMachinesReply());
  ASSERT_EQ(page.status, win::ERROR_MORE_DATA);
  ASSERT_EQ(page.entries.size(), 2u);
  EXPECT_EQ(page.entries[0].name, "WS01$");
  EXPECT_EQ(page.entries[0].flags, 0x1001u);  // UF_SCRIPT, workstation trust
  EXPECT_EQ(page.entries[0].comment, "");
  EXPECT_EQ(page.entries[1].user_id, 1001u);
  EXPECT_EQ(page.entries[1].next_index, 2u);
  EXPECT_EQ(page.entries[1].flags, 0x2003u);  // UF_SCRIPT, disabled, server trust
  EXPECT_EQ(page.entries[1].comment, "Dc");
}

TEST(NetlogonDecoding, ControllerNameAndLocatorAnswer) {
  EXPECT_EQ(netlogon::DecodeGetDcName(testing::GetDcNameReply()).dc_name, "\\\\DC01");
  const DcInfoResult dc = netlogon::DecodeGetDcNameEx2(testing::GetDcNameEx2Reply());
  ASSERT_EQ(dc.status, win::ERROR_SUCCESS);
  EXPECT_EQ(dc.info.dc_name, "\\\\DC01");
  EXPECT_EQ(dc.info.dc_address, "\\\\192.0.2.1");
  EXPECT_EQ(dc.info.domain_name, "CORP");
  EXPECT_EQ(dc.info.dns_forest_name, "corp.example");
}

}  // namespace
}  // namespace tabulon::platform::remote
