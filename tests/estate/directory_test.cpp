// The estate's directories: LDIF files as directory tools write them,
// refused where they are not snapshots or not well formed, and the filters
// a directory server evaluates. Searches are compared with a real server in
// the directory tests.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "estate/backend.h"
#include "estate/ldap_filter.h"
#include "estate/ldif_reader.h"
#include "estate/loader.h"
#include "platform/directory_status.h"

namespace tabulon::estate {
namespace {

using platform::DirectoryValueKind;

TEST(LdifReader, ReadsWhatDirectoryToolsWrite) {
  const LdifResult read = ParseLdif(
      "version: 1\r\n"
      "# a comment that\r\n"
      "  goes on\r\n"
      "dn: CN=Jo,DC=x\r\n"
      "cn: Jo\r\n"
      "description: folded over\r\n"
      "  two lines\r\n"
      "photo:: /9j/4A==\r\n"
      "CN: second value\r\n"
      "\r\n\r\n"
      "dn:: Q049SsO2cmcsREM9eA==\n"
      "cn;lang-de: Jo\n",
      "a.ldif");
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.entries.size(), 2u);
  const platform::DirectoryEntry& jo = read.entries[0];
  EXPECT_EQ(jo.dn, "CN=Jo,DC=x");
  EXPECT_EQ(jo.Find("cn")->values, (std::vector<std::string>{"Jo", "second value"}));
  EXPECT_EQ(jo.Find("description")->values.front(), "folded over two lines");
  EXPECT_EQ(jo.Find("photo")->values.front(), std::string("\xFF\xD8\xFF\xE0", 4));
  EXPECT_EQ(read.entries[1].dn, "CN=Jörg,DC=x");
  EXPECT_NE(read.entries[1].Find("CN;LANG-DE"), nullptr);
}

TEST(LdifReader, RefusesWithFileAndLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"dn: CN=a\ncn: a\n\ndn: CN=b\nchangetype: delete\n", "a.ldif:5: change records"},
      {"dn: CN=a\nphoto:< file:///etc/passwd\n", "a.ldif:2: values by URL"},
      {"dn: CN=a\nphoto:: !!!!\n", "a.ldif:2: the base64 value of 'photo'"},
      {" continued\n", "a.ldif:1: a continuation line"},
      {"cn: a\n", "a.ldif:1: a record must start with 'dn:'"},
      {"dn: CN=a\ndn: CN=b\n", "a.ldif:2: a blank line must separate"},
      {"dn: CN=a\nno colon here\n", "a.ldif:2: expected 'name: value'"},
      {"dn: CN=a\nb@d: x\n", "a.ldif:2: 'b@d' is not an attribute"},
      {"version: 2\n", "a.ldif:1: only LDIF version 1"},
  };
  for (const auto& c : cases) {
    const LdifResult read = ParseLdif(c.text, "a.ldif");
    EXPECT_FALSE(read.ok) << c.text;
    EXPECT_TRUE(read.entries.empty());
    EXPECT_EQ(read.error.rfind(c.error, 0), 0u) << read.error;
  }
}

TEST(LdapFilter, RefusesMalformedAndExtensibleFilters) {
  for (const char* text : {"(cn=a", "(cn=a))", "((cn=a)", "(!(a=1)(b=2))", "(cn~a)", "(=a)",
                           "(cn=a\\4)", "(cn=a\\zz)", "(cn>=a*)", "(cn=a**b)", "(&(cn=a)x)", ""}) {
    EXPECT_EQ(ParseFilter(text).outcome, FilterParse::Outcome::kSyntaxError) << text;
  }
  for (const char* text :
       {"(cn:caseExactMatch:=Jo)", "(cn:dn:2.5.13.5:=Jo)", "(:1.2.840.113556.1.4.803:=2)"}) {
    EXPECT_EQ(ParseFilter(text).outcome, FilterParse::Outcome::kExtensibleMatch) << text;
  }
  std::string deep;
  for (std::size_t i = 0; i < kMaxFilterDepth + 1; ++i) deep += "(!";
  deep += "(a=1)";
  for (std::size_t i = 0; i < kMaxFilterDepth + 1; ++i) deep += ")";
  EXPECT_EQ(ParseFilter(deep).outcome, FilterParse::Outcome::kSyntaxError);
}

TEST(LdapFilter, MatchesAsADirectoryServerWould) {
  platform::DirectoryEntry entry{
      "CN=Jo Smith,OU=Staff,DC=x",
      {{"objectClass", DirectoryValueKind::kUnknown, {"top", "user"}},
       {"cn", DirectoryValueKind::kUnknown, {"Jo Smith"}},
       {"logonCount", DirectoryValueKind::kUnknown, {"9"}},
       {"groupType", DirectoryValueKind::kUnknown, {"-2147483646"}},
       {"objectSid", DirectoryValueKind::kUnknown, {std::string("\x01\x2A\x00", 3)}},
       {"objectCategory", DirectoryValueKind::kUnknown, {"CN=Person,CN=Schema,DC=x"}},
       {"manager", DirectoryValueKind::kUnknown, {"CN=Boss, OU=Staff,DC=x"}}}};
  const platform::AttributeKinds kinds = {{"logoncount", DirectoryValueKind::kInteger},
                                          {"objectsid", DirectoryValueKind::kOctetString}};
  const struct {
    const char* filter;
    bool matches;
  } cases[] = {
      {"(objectClass=USER)", true},
      {"objectClass=user", true},  // without parentheses, as tools accept it
      {"(cn=*)", true},
      {"(mail=*)", false},
      {"(!(mail=x))", true},
      {"(cn=jo*)", true},
      {"(cn=*smith)", true},
      {"(cn=j*o*s*h)", true},
      {"(cn=j*x*)", false},
      {"(cn=Jo\\20Smith)", true},
      {"(logonCount>=10)", false},  // as numbers, not as text
      {"(logonCount<=10)", true},
      {"(logonCount=09)", true},
      {"(objectSid=\\01\\2a\\00)", true},
      {"(objectSid=\\01\\2A\\00)", true},
      {"(objectSid=\\01\\0a\\00)", false},
      {"(objectCategory=person)", true},  // the short name a controller accepts
      {"(manager=cn=boss,ou=staff, dc=x)", true},
      {"(&)", true},
      {"(|)", false},
      {"(&(cn=Jo Smith)(|(logonCount=1)(logonCount=9)))", true},
      {"(cn~=jo smith)", true},
      // Bitwise rules; a security group's type is negative.
      {"(groupType:1.2.840.113556.1.4.804:=2)", true},
      {"(groupType:1.2.840.113556.1.4.804:=12)", false},
      {"(groupType:1.2.840.113556.1.4.803:=2147483650)", true},
      {"(groupType:1.2.840.113556.1.4.803:=6)", false},
      {"(logonCount:1.2.840.113556.1.4.803:=9)", true},
      {"(cn:1.2.840.113556.1.4.804:=1)", false},  // not a number
  };
  for (const auto& c : cases) {
    const FilterParse parsed = ParseFilter(c.filter);
    ASSERT_EQ(parsed.outcome, FilterParse::Outcome::kOk) << c.filter << ": " << parsed.error;
    EXPECT_EQ(MatchesFilter(parsed.root, entry, kinds), c.matches) << c.filter;
  }
}

TEST(EstateDirectory, DomainsReadTheirLdifFilesAndSchema) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tabulon-ldif-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  {
    std::ofstream((dir / "d.ldif").string())
        << "dn: DC=x,DC=test\ndc: x\n\ndn: CN=Jo,DC=x,DC=test\nobjectSid:: AQI=\n";
  }
  const std::string domain = R"({"domains": [{"name": "X", "dns_name": "x.test", "directory": )";
  const LoadResult loaded =
      ParseEstate(domain + R"({"ldif": "d.ldif", "schema": {"objectSid": "2.5.5.17"}}}],
                   "computers": [{"name": "DC", "domain": "X",
                                  "failures": {"LdapSearch": "ERROR_DS_BUSY"}}]})",
                  "e.json", dir.string());
  ASSERT_TRUE(loaded.ok) << loaded.error;
  EstateBackend backend(loaded.estate);
  auto session = backend.Open("\\\\ANY", {});
  platform::DirectorySearch& directory = session->directory_search();
  // Without a host, the base names the domain.
  ASSERT_TRUE(directory.Open({"ldap://", "DC=x,DC=test", {}, false, {}, 0}).ok());
  platform::DirectoryEntry jo;
  const platform::AttributeKinds kinds = {{"objectsid", DirectoryValueKind::kOctetString}};
  platform::SearchRequest request;
  request.base = "cn=jo, dc=x,dc=test";
  request.scope = platform::SearchScope::kBase;
  request.kinds = &kinds;
  ASSERT_TRUE(directory
                  .Search(request,
                          [&](platform::DirectoryEntry&& e) {
                            jo = std::move(e);
                            return true;
                          })
                  .ok());
  ASSERT_NE(jo.Find("objectSid"), nullptr);
  EXPECT_EQ(jo.Find("objectSid")->kind, DirectoryValueKind::kOctetString);
  EXPECT_EQ(directory.Open({"ldap://nowhere.test", "", {}, false, {}, 0}).status,
            platform::DirectoryHresult(win::ERROR_DS_SERVER_DOWN));
  // The domain's computer answers with the failure injected there.
  ASSERT_TRUE(directory.Open({"ldap://dc", "DC=x,DC=test", {}, false, {}, 0}).ok());
  EXPECT_EQ(directory.Search({}, [](platform::DirectoryEntry&&) { return true; }).status,
            platform::DirectoryHresult(win::ERROR_DS_BUSY));

  const struct {
    std::string directory;
    const char* error;
  } bad[] = {
      {R"({"ldif": "missing.ldif"}}]})", "e.json: domains[0].directory.ldif: cannot open"},
      {R"({"schema": {"cn": "1.2.3"}}}]})", "e.json: domains[0].directory.schema.cn: unknown"},
  };
  for (const auto& b : bad) {
    const LoadResult refused = ParseEstate(domain + b.directory, "e.json", dir.string());
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error.rfind(b.error, 0), 0u) << refused.error;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tabulon::estate
