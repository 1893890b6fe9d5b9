// Directory queries end to end on the estate's directory: the query file and
// the configuration in, the query's output file (and photo files) out.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdint>

#include <atomic>
#include <memory>

#include "estate/base64.h"
#include "platform/text.h"
#include "support/e2e.h"
#include "support/forwarding_session.h"

namespace tabulon::testing {
namespace {

std::string Sid(std::uint32_t rid) {
  std::string sid = {1, 5, 0, 0, 0, 0, 0, 5};
  for (const std::uint32_t sub : {21u, 1u, 2u, 3u, rid}) {
    for (int i = 0; i < 4; ++i) sid.push_back(static_cast<char>((sub >> (8 * i)) & 0xFF));
  }
  return sid;
}
std::string B64(const std::string& bytes) {
  return estate::EncodeBase64(bytes);
}
const std::string kPhoto = std::string("\xFF\xD8\xFF\xE0photo\r\n\xFF\xD9", 13);

// A domain with a schema, two users, a computer and three groups: Helpdesk
// (local) holds Ann and Admins; Admins (global) holds Bob and a foreign
// principal; Domain Users is both users' primary group.
std::string Ldif() {
  std::string out = "dn: DC=corp,DC=test\ndc: corp\n\n";
  out += "dn: CN=Schema,CN=Configuration,DC=corp,DC=test\ncn: Schema\n\n";
  for (const auto& [name, syntax] : {std::pair{"objectSid", "2.5.5.17"},
                                     {"thumbnailPhoto", "2.5.5.10"},
                                     {"groupType", "2.5.5.9"},
                                     {"userAccountControl", "2.5.5.9"},
                                     {"primaryGroupID", "2.5.5.9"},
                                     {"accountExpires", "2.5.5.16"}}) {
    out += std::string("dn: CN=") + name + ",CN=Schema,CN=Configuration,DC=corp,DC=test\n" +
           "objectClass: attributeSchema\nlDAPDisplayName: " + name +
           "\nattributeSyntax: " + syntax + "\n\n";
  }
  const std::string person = "objectClass: user\nobjectCategory: CN=Person,CN=Schema,DC=corp\n";
  const std::string group = "objectClass: group\nobjectCategory: CN=Group,CN=Schema,DC=corp\n";
  out += "dn: OU=Staff,DC=corp,DC=test\nobjectClass: organizationalUnit\nou: Staff\n\n";
  out += "dn: CN=Ann,OU=Staff,DC=corp,DC=test\n" + person +
         "cn: Ann\nsAMAccountName: ann\nuserAccountControl: 512\nprimaryGroupID: 513\n"
         "accountExpires: 9223372036854775807\nobjectSid:: " +
         B64(Sid(1101)) + "\nthumbnailPhoto:: " + B64(kPhoto) +
         "\nmemberOf: CN=Helpdesk,OU=Groups,DC=corp,DC=test\n\n";
  out += "dn: CN=Bob,OU=Staff,DC=corp,DC=test\n" + person +
         "cn: Bob\nsAMAccountName: bob\nuserAccountControl: 514\nprimaryGroupID: 513\n"
         "accountExpires: 0\nobjectSid:: " +
         B64(Sid(1102)) + "\nmemberOf: CN=Admins,OU=Groups,DC=corp,DC=test\n\n";
  out += "dn: OU=Desks,DC=corp,DC=test\nobjectClass: organizationalUnit\nou: Desks\n\n";
  out +=
      "dn: CN=PC1,OU=Desks,DC=corp,DC=test\nobjectClass: computer\n"
      "objectCategory: CN=Computer,CN=Schema,DC=corp\ncn: PC1\nsAMAccountName: PC1$\n"
      "dNSHostName: pc1.corp.test\nprimaryGroupID: 515\n\n";
  out += "dn: OU=Groups,DC=corp,DC=test\nobjectClass: organizationalUnit\nou: Groups\n\n";
  out += "dn: CN=Domain Users,OU=Groups,DC=corp,DC=test\n" + group +
         "cn: Domain Users\nsAMAccountName: Domain Users\ngroupType: -2147483646\n"
         "objectSid:: " +
         B64(Sid(513)) + "\n\n";
  out += "dn: CN=Helpdesk,OU=Groups,DC=corp,DC=test\n" + group +
         "cn: Helpdesk\nsAMAccountName: Helpdesk\ngroupType: -2147483644\nobjectSid:: " +
         B64(Sid(1201)) +
         "\nmember: CN=Ann,OU=Staff,DC=corp,DC=test\n"
         "member: CN=Admins,OU=Groups,DC=corp,DC=test\n\n";
  out +=
      "dn: CN=Admins,OU=Groups,DC=corp,DC=test\n" + group +
      "cn: Admins\nsAMAccountName: Admins\ngroupType: -2147483646\nobjectSid:: " + B64(Sid(1202)) +
      "\nmember: CN=Bob,OU=Staff,DC=corp,DC=test\n"
      "member: CN=S-1-5-11,CN=ForeignSecurityPrincipals,DC=corp,DC=test\n\n";
  out +=
      "dn: CN=S-1-5-11,CN=ForeignSecurityPrincipals,DC=corp,DC=test\n"
      "objectClass: foreignSecurityPrincipal\ncn: S-1-5-11\n\n";
  return out;
}

constexpr std::string_view kDomain = "LDAP://DC=corp,DC=test";
constexpr std::string_view kGroups = "LDAP://OU=Groups,DC=corp,DC=test";

class DirectoryQueries : public ::testing::Test {
 protected:
  void SetUp() override { UseEstate(""); }
  // `extra`: more top-level keys of the estate.
  void UseEstate(std::string_view extra) {
    run_.dir().Write("corp.ldif", Ldif());
    run_.SetEstate(R"({"local_computer": "ADMIN", "domains": [{"name": "CORP",
      "dns_name": "corp.test", "controller": "DC1", "directory": {"ldif": ")" +
                   run_.dir().File("corp.ldif") + R"("}}], "computers": [
      {"name": "DC1", "dns_name": "dc1.corp.test", "domain": "CORP",
       "terminal_services": {"user_config": {"ann": {"idle_xout": 1800000}}}},
      {"name": "PC1", "dns_name": "pc1.corp.test", "domain": "CORP"},
      {"name": "BUSYDC", "domain": "CORP",
       "failures": {"LdapSearch": {"status": "ERROR_DS_BUSY", "after_calls": 1}}},
      {"name": "ADMIN"}])" +
                   std::string(extra) + "}");
  }
  // One query "Q" writing q.txt, with `keys`; `ad` adds to section AD.
  void Configure(std::string_view keys, std::string_view ad = {}, std::string_view general = {}) {
    run_.dir().Write("DirectoryQueries.CFG",
                     "[Q]\nOutputFileName=q.txt\n" + std::string(keys) + "\n");
    run_.SetConfiguration("[General]\nWriteTitles=0\n" + std::string(general) +
                          "[Templates]\nDirectoryTemplates=Q;\n[AD]\n" + std::string(ad));
  }
  std::string RunQuery(std::string_view keys, const EndToEnd::Object& target,
                       std::string_view ad = {}) {
    Configure(keys, ad);
    run_.SetObjects({target});
    run_.Run();
    return run_.Output("q.txt");
  }
  std::string Photo(const std::string& name) { return run_.dir().Read(name); }

  EndToEnd run_;
};

TEST_F(DirectoryQueries, FiltersLevelsAndValues) {
  const std::string ann =
      "ann\tNORMAL_ACCOUNT\tS-1-5-21-1-2-3-1101\tNo Expiration\tLDAP://CN=Ann,OU=Staff,DC=corp,"
      "DC=test\r\n";
  const std::string bob =
      "bob\tDISABLED^NORMAL_ACCOUNT\tS-1-5-21-1-2-3-1102\t(None)\tLDAP://CN=Bob,OU=Staff,"
      "DC=corp,DC=test\r\n";
  const std::string accounts =
      "Attributes=samaccountname,useraccountcontrol,objectSid,accountExpires,adspath\n";
  const struct {
    const char* name;
    std::string keys;
    EndToEnd::Object target;
    std::string rows;
  } cases[] = {
      {"users of the subtree",
       accounts + "Filter=1\nLevel=1",
       {101, "corp", std::string(kDomain)},
       ann + bob},
      {"one level below the domain finds no user",
       accounts + "Filter=1",
       {101, "corp", std::string(kDomain)},
       ""},
      {"a single user object is searched with its subtree",
       accounts + "Filter=1",
       {102, "Ann", "LDAP://CN=Ann,OU=Staff,DC=corp,DC=test"},
       ann},
      {"every group with its type",
       "Attributes=cn,groupType,%OBJECT_NAME%\nFilter=2",
       {114, "Groups", std::string(kGroups)},
       "Domain Users\tGlobal - (Security)\tGroups\r\nHelpdesk\tLocal - (Security)\tGroups\r\n"
       "Admins\tGlobal - (Security)\tGroups\r\n"},
      {"global groups",
       "Attributes=cn\nFilter=3",
       {114, "Groups", std::string(kGroups)},
       "Domain Users\r\nAdmins\r\n"},
      {"local groups",
       "Attributes=cn\nFilter=4",
       {114, "Groups", std::string(kGroups)},
       "Helpdesk\r\n"},
      {"universal groups", "Attributes=cn\nFilter=5", {114, "Groups", std::string(kGroups)}, ""},
      {"containers, with a server in the path",
       "Attributes=ou,adspath,distinguishedName\nFilter=10",
       {101, "corp", "LDAP://dc1/DC=corp,DC=test"},
       "Staff\tLDAP://dc1/OU=Staff,DC=corp,DC=test\tOU=Staff,DC=corp,DC=test\r\n"
       "Desks\tLDAP://dc1/OU=Desks,DC=corp,DC=test\tOU=Desks,DC=corp,DC=test\r\n"
       "Groups\tLDAP://dc1/OU=Groups,DC=corp,DC=test\tOU=Groups,DC=corp,DC=test\r\n"},
      {"terminal-server settings from the domain's controller",
       "Attributes=samaccountname,tse_idle_xout\nFilter=1\nLevel=1",
       {101, "corp", std::string(kDomain)},
       "ann\t30\r\nbob\t\r\n"},
      // The title row has a column for every entry of the list, an empty
      // one too: so have the rows.
      {"empty entries keep their columns",
       "Attributes=cn,,groupType,\nFilter=3",
       {114, "Groups", std::string(kGroups)},
       "Domain Users\t\tGlobal - (Security)\t\r\nAdmins\t\tGlobal - (Security)\t\r\n"},
      {"empty entries of the member columns keep theirs",
       "Attributes=adspath\nFilter=3\nGetGroupMembers=1\nGroupMemberAttributes=cn,,%IS_PRIMARY%",
       {114, "Groups", std::string(kGroups)},
       "LDAP://CN=Domain Users,OU=Groups,DC=corp,DC=test\tAnn\t\tYES\r\n"
       "LDAP://CN=Domain Users,OU=Groups,DC=corp,DC=test\tBob\t\tYES\r\n"
       "LDAP://CN=Admins,OU=Groups,DC=corp,DC=test\tBob\t\t\r\n"
       "LDAP://CN=Admins,OU=Groups,DC=corp,DC=test\tNT AUTHORITY\\Authenticated Users\t\t\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RunQuery(c.keys, c.target), c.rows);
  }
  EXPECT_TRUE(run_.Messages().empty());

  // Without the libraries the question is asked; the unattended answer (no)
  // goes on.
  UseEstate(R"(, "libraries": {"terminal_services": false})");
  EXPECT_EQ(RunQuery("Attributes=samaccountname,tse_idle_xout\nFilter=1\nLevel=1",
                     {101, "corp", std::string(kDomain)}),
            "ann\tNO_FORMAT\r\nbob\tNO_FORMAT\r\n");
  ASSERT_EQ(run_.Messages().size(), 1u);
  EXPECT_TRUE(run_.Messages()[0].starts_with("The required Microsoft .DLL files"));
}

TEST_F(DirectoryQueries, DirectoryComputerAtLevelZeroFindsItself) {
  // Only the queries are enabled: the computer gets no computer exports.
  EXPECT_EQ(RunQuery("Attributes=cn,%OBJECT_PATH%\nFilter=6",
                     {112, "PC1", "LDAP://CN=PC1,OU=Desks,DC=corp,DC=test"}),
            "PC1\tpc1.corp.test\r\n");
  EXPECT_TRUE(run_.Calls("NetServerGetInfo").empty());
}

TEST_F(DirectoryQueries, ProgressLogAndTooManyAttributes) {
  std::string many = "Attributes=cn";
  for (int i = 1; i < 86; ++i) many += ",a" + std::to_string(i);
  run_.SetObjects({{114, "Groups", std::string(kGroups)}});
  Configure(many + "\nFilter=2");
  run_.Run();
  EXPECT_EQ(run_.Output("q.txt"), "");
  // Every directory target has its own row before its queries' rows.
  EXPECT_EQ(run_.ProgressLines()[0], "0|74|Groups|Exporting directory information...");
  EXPECT_EQ(run_.ProgressLines()[1],
            "0|88|Groups|Exporting directory information for 'Q'...Maximum number of AD "
            "attributes (85) exceeded in AD query");

  Configure("Attributes=cn\nFilter=2");
  run_.Run();
  EXPECT_EQ(run_.ProgressLines()[1],
            "0|76|Groups|Exporting directory information for 'Q'... 3 objects exported");
}

TEST_F(DirectoryQueries, PhotosAreWrittenToFiles) {
  const EndToEnd::Object ann{102, "Ann", "LDAP://CN=Ann,OU=Staff,DC=corp,DC=test"};
  const std::string dir = run_.dir().path();
  EXPECT_EQ(RunQuery("Attributes=samaccountname,thumbnailPhoto\nFilter=1", ann,
                     "EnableAdPhotoExporting=1\nPhotoFileExtension=.jpeg\n"),
            text::Utf8ToLatin1("ann\t" + dir + "/ann.jpeg\r\n"));
  EXPECT_EQ(Photo("ann.jpeg"), kPhoto);
  // An extension given without its "." gets one.
  EXPECT_EQ(RunQuery("Attributes=samaccountname,thumbnailPhoto\nFilter=1", ann,
                     "EnableAdPhotoExporting=1\nPhotoFileExtension=png\n"),
            text::Utf8ToLatin1("ann\t" + dir + "/ann.png\r\n"));
  EXPECT_EQ(Photo("ann.png"), kPhoto);

  EXPECT_EQ(RunQuery("Attributes=thumbnailPhoto,samaccountname\nFilter=1", ann,
                     "EnableAdPhotoExporting=1\n"),
            "Unable to create photo file: The samaccountname attribute must be added to the "
            "exported attribute list.\tann\r\n");

#ifndef _WIN32  // a folder nobody may write to, by its POSIX mode
  ASSERT_EQ(::mkdir((dir + "/locked").c_str(), 0500), 0);
  const std::string row =
      RunQuery("Attributes=samaccountname,thumbnailPhoto\nFilter=1", ann,
               "EnableAdPhotoExporting=1\nPhotoFileOutputPath=" + dir + "/locked/\n");
  if (::geteuid() != 0) {  // root writes anywhere
    EXPECT_EQ(row,
              "ann\tUnable to open photo file '" + dir + "/locked/ann.jpg'. Access is denied.\r\n");
  }
#endif
  // Photo export off: the attribute has no text of its own.
  EXPECT_EQ(RunQuery("Attributes=samaccountname,thumbnailPhoto\nFilter=1", ann),
            "ann\tUnable to format\r\n");
}

TEST_F(DirectoryQueries, GroupMemberRows) {
  const std::string rows = RunQuery(
      "Attributes=cn,adspath\nFilter=2\nGetGroupMembers=1\nGetIndirectGroupMembers=1\n"
      "GroupMemberAttributes=cn,samaccountname,%IS_PRIMARY%,%INDIRECT_MEMBER_PARENT%",
      {114, "Groups", std::string(kGroups)});
  const std::string helpdesk = "Helpdesk\tLDAP://CN=Helpdesk,OU=Groups,DC=corp,DC=test\t";
  const std::string admins = "Admins\tLDAP://CN=Admins,OU=Groups,DC=corp,DC=test\t";
  const std::string admins_path = "LDAP://CN=Admins,OU=Groups,DC=corp,DC=test";
  EXPECT_EQ(rows,
            "Domain Users\tLDAP://CN=Domain Users,OU=Groups,DC=corp,DC=test\tAnn\tann\tYES\t\r\n"
            "Domain Users\tLDAP://CN=Domain Users,OU=Groups,DC=corp,DC=test\tBob\tbob\tYES\t\r\n" +
                helpdesk + "Ann\tann\t\t\r\n" + helpdesk + "Admins\tAdmins\t\t\r\n" + helpdesk +
                "Bob\tbob\t\t" + admins_path + "\r\n" + helpdesk +
                "NT AUTHORITY\\Authenticated Users\t\t\t" + admins_path + "\r\n" + admins +
                "Bob\tbob\t\t\r\n" + admins + "NT AUTHORITY\\Authenticated Users\t\t\t\r\n");
}

TEST_F(DirectoryQueries, AccountGroupRows) {
  EXPECT_EQ(
      RunQuery("Attributes=samaccountname,adspath\nFilter=1\nLevel=1\nGetUserGroups=1\n"
               "UserGroupAttributes=cn,grouptype,%IS_PRIMARY%",
               {101, "corp", std::string(kDomain)}),
      "ann\tLDAP://CN=Ann,OU=Staff,DC=corp,DC=test\tDomain Users\tGlobal - (Security)\tYES\r\n"
      "ann\tLDAP://CN=Ann,OU=Staff,DC=corp,DC=test\tHelpdesk\tLocal - (Security)\t\r\n"
      "bob\tLDAP://CN=Bob,OU=Staff,DC=corp,DC=test\tDomain Users\tGlobal - (Security)\tYES\r\n"
      "bob\tLDAP://CN=Bob,OU=Staff,DC=corp,DC=test\tAdmins\tGlobal - (Security)\t\r\n");
}

TEST_F(DirectoryQueries, FailuresEndTheQueryAndTheRunGoesOn) {
  Configure("Attributes=cn\nFilter=2", {}, "EnableLogging=1\nLogFileName=log.txt\n");
  run_.SetObjects({{114, "Groups", std::string(kGroups)},
                   {114, "Busy", "LDAP://BUSYDC/OU=Groups,DC=corp,DC=test"},
                   {114, "Gone", "LDAP://OU=Gone,DC=corp,DC=test"},
                   {114, "Again", std::string(kGroups)}});
  const RunResult result = run_.Run();
  EXPECT_EQ(result.targets_processed, 4u);
  const std::string groups = "Domain Users\r\nHelpdesk\r\nAdmins\r\n";
  EXPECT_EQ(run_.Output("q.txt"), groups + groups);
  const std::vector<std::string> rows = run_.ProgressLines();
  EXPECT_EQ(rows[3],
            "0|88|Busy|Exporting directory information for 'Q'...Unable to execute directory "
            "search using filter '(&(objectCategory=group))'. The directory service is busy.  -- "
            "Extended Error --- LDAP Provider : The directory service is busy.");
  EXPECT_EQ(rows[5],
            "0|88|Gone|Exporting directory information for 'Q'...Unable to open directory "
            "object 'LDAP://OU=Gone,DC=corp,DC=test'. There is no such object on the server.  -- "
            "Extended Error --- LDAP Provider : LDAP result 32");
  const std::string log = run_.Output("log.txt");
  EXPECT_NE(log.find("\tACTIVE_DIRECTORY - Q\tSUCCESS\t 3 objects exported"), std::string::npos)
      << log;
  EXPECT_NE(log.find("\tACTIVE_DIRECTORY - Q\tERROR\tUnable to execute"), std::string::npos);

  // Without a window every failed query is on standard error too, naming
  // the query.
  UseEstate("");
  run_.Run(false);
  EXPECT_EQ(run_.observer().failure_rows,
            (std::vector<std::string>{
                "Busy: Exporting directory information for 'Q'...Unable to execute directory "
                "search using filter '(&(objectCategory=group))'. The directory service is busy.  "
                "-- Extended Error --- LDAP Provider : The directory service is busy.",
                "Gone: Exporting directory information for 'Q'...Unable to open directory object "
                "'LDAP://OU=Gone,DC=corp,DC=test'. There is no such object on the server.  -- "
                "Extended Error --- LDAP Provider : LDAP result 32"}));
}

// Sessions of the estate whose directory sets the stop flag just before it
// hands out the entry of one DN, wherever the run asks for it.
class StoppingDirectory final : public platform::DirectorySearch {
 public:
  StoppingDirectory(platform::DirectorySearch& inner, std::string dn, RunControl& control)
      : inner_(inner), dn_(std::move(dn)), control_(control) {}
  platform::DirectoryStatus Open(const platform::DirectoryOpenOptions& options) override {
    return inner_.Open(options);
  }
  platform::DirectoryStatus Search(const platform::SearchRequest& request,
                                   const platform::EntrySink& sink) override {
    return inner_.Search(request, [&](platform::DirectoryEntry&& entry) {
      if (text::EqualsNoCase(entry.dn, dn_)) control_.RequestStop();
      return sink(std::move(entry));
    });
  }
  void Close() override { inner_.Close(); }

 private:
  platform::DirectorySearch& inner_;
  std::string dn_;
  RunControl& control_;
};

class StoppingSession final : public ForwardingSession {
 public:
  StoppingSession(std::unique_ptr<platform::TargetSession> inner, const std::string& dn,
                  RunControl& control)
      : ForwardingSession(std::move(inner)), directory_(estate_->directory_search(), dn, control) {}
  platform::DirectorySearch& directory_search() override { return directory_; }

 private:
  StoppingDirectory directory_;
};

class StoppingBackend final : public platform::SessionBackend {
 public:
  StoppingBackend(platform::SessionBackend& inner, std::string dn, RunControl& control)
      : inner_(inner), dn_(std::move(dn)), control_(control) {}
  std::unique_ptr<platform::TargetSession> Open(std::string_view target,
                                                const platform::SessionOptions& options) override {
    return std::make_unique<StoppingSession>(inner_.Open(target, options), dn_, control_);
  }

 private:
  platform::SessionBackend& inner_;
  std::string dn_;
  RunControl& control_;
};

// The first stop (not only the cancel) ends a query's search between two
// objects and its member expansion between two members: what was written
// stays, the query says the export was aborted, and no further query runs.
TEST_F(DirectoryQueries, AStopEndsTheSearchAndTheMemberExpansion) {
  const std::string domain_users =
      "Domain Users\tLDAP://CN=Domain Users,OU=Groups,DC=corp,DC=test\tAnn\tYES\r\n"
      "Domain Users\tLDAP://CN=Domain Users,OU=Groups,DC=corp,DC=test\tBob\tYES\r\n";
  const struct {
    const char* name;
    const char* stop_at;  // the entry whose arrival stops the run
    std::string rows;
  } cases[] = {
      {"at the next group", "CN=Helpdesk,OU=Groups,DC=corp,DC=test", domain_users},
      {"at the next member", "CN=Admins,OU=Groups,DC=corp,DC=test",
       domain_users + "Helpdesk\tLDAP://CN=Helpdesk,OU=Groups,DC=corp,DC=test\tAnn\t\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    run_.dir().Write("DirectoryQueries.CFG",
                     "[Q]\nOutputFileName=q.txt\nAttributes=cn,adspath\nFilter=2\n"
                     "GetGroupMembers=1\n"
                     "GetIndirectGroupMembers=1\nGroupMemberAttributes=cn,%IS_PRIMARY%\n"
                     "[R]\nOutputFileName=r.txt\nAttributes=cn\n");
    run_.SetConfiguration("[General]\nWriteTitles=0\n[Templates]\nDirectoryTemplates=Q;R;\n");
    run_.SetObjects({{114, "Groups", std::string(kGroups)}});
    StoppingBackend stopping(run_.backend(), c.stop_at, run_.control());
    run_.platform().sessions = &stopping;
    const RunResult result = run_.Run(false);
    run_.platform().sessions = &run_.backend();
    EXPECT_TRUE(result.aborted_by_user);
    EXPECT_EQ(run_.Output("q.txt"), c.rows);
    EXPECT_EQ(run_.Output("r.txt"), "");
    ASSERT_FALSE(run_.observer().failure_rows.empty());
    EXPECT_EQ(run_.observer().failure_rows.back(),
              "Groups: Exporting directory information for 'Q'...Export Aborted By User.");
  }
}

// Controllers count logons of their own: DC1 saw Ann 3 times, DC2 saw her 4
// times later and Bob twice; DC3 does not answer; DC4 is left out by the
// skip list; DC5 answers but cannot list its accounts.
TEST_F(DirectoryQueries, LogonValuesComeFromEveryController) {
  std::string ldif = Ldif();
  ldif +=
      "dn: CN=lastLogon,CN=Schema,CN=Configuration,DC=corp,DC=test\n"
      "objectClass: attributeSchema\nlDAPDisplayName: lastLogon\nattributeSyntax: 2.5.5.16\n\n";
  for (const char* dc : {"DC1", "DC2", "DC3", "DC4", "DC5"}) {
    ldif += std::string("dn: CN=") + dc +
            ",OU=Domain Controllers,DC=corp,DC=test\nobjectClass: computer\n"
            "objectCategory: CN=Computer,CN=Schema,DC=corp\nsAMAccountName: " +
            dc + "$\nuserAccountControl: 532480\ndNSHostName: " + text::ToLower(dc) +
            ".corp.test\n\n";
  }
  run_.dir().Write("corp.ldif", ldif);
  run_.dir().Write("skip.txt", "\\\\dc4.corp.test\r\n");
  run_.SetEstate(R"({"local_computer": "ADMIN", "domains": [{"name": "CORP",
    "dns_name": "corp.test", "controller": "DC1", "directory": {"ldif": ")" +
                 run_.dir().File("corp.ldif") + R"("}}], "computers": [
    {"name": "DC1", "dns_name": "dc1.corp.test", "domain": "CORP", "logon_counters":
      {"ann": {"last_logon": 1000000000, "num_logons": 3, "bad_pw_count": 1}}},
    {"name": "DC2", "dns_name": "dc2.corp.test", "domain": "CORP", "server": {"type": 16},
     "logon_counters": {"ann": {"last_logon": 1100000000, "num_logons": 4},
                        "bob": {"num_logons": 2}}},
    {"name": "DC3", "dns_name": "dc3.corp.test", "domain": "CORP", "offline": true},
    {"name": "DC5", "dns_name": "dc5.corp.test", "domain": "CORP",
     "failures": {"LdapSearch": "ERROR_DS_BUSY"}},
    {"name": "ADMIN"}]})");
  const std::string query =
      "Attributes=samaccountname,logoncount,badpwdcount,lastlogon\nFilter=1\nLevel=1\n"
      "GetLogonInformation=1\nSkipSpecifiedDomainControllers=1\nLastLogonType=";
  const std::string general =
      "[Computers]\nSkipEnable=1\nSkipFileName=" + run_.dir().File("skip.txt") + "\n";
  Configure(query + "0", {}, general);
  run_.SetObjects({{101, "corp", std::string(kDomain)}});
  run_.Run();
  EXPECT_EQ(run_.Output("q.txt"), "ann\t7\t1\t11/09/2004 11:33:20 AM\r\nbob\t2\t0\tNEVER\r\n");
  const std::vector<std::string> rows = run_.ProgressLines();
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[1], "1|73|dc1.corp.test|Getting last logon information from 'dc1.corp.test'...");
  const std::string dc3 =
      "dc3.corp.test|Getting last logon information from 'dc3.corp.test'...Unable to open "
      "directory object 'LDAP://dc3.corp.test/DC=corp,DC=test'. The server is not operational.  "
      "-- Extended Error --- LDAP Provider : no directory server answers at "
      "'ldap://dc3.corp.test'";
  const std::string dc5 =
      "dc5.corp.test|Getting last logon information from 'dc5.corp.test'...Unable to execute "
      "directory search using filter '(&(objectClass=user)(objectCategory=person))'. The "
      "directory service is busy.  -- Extended Error --- LDAP Provider : The directory service "
      "is busy.";
  EXPECT_EQ(rows[3], "1|88|" + dc3);
  EXPECT_EQ(rows[4], "1|88|" + dc5);
  // Without a window both are on standard error, as the values leave them
  // out.
  run_.Run(false);
  EXPECT_EQ(run_.Output("q.txt"), "ann\t7\t1\t11/09/2004 11:33:20 AM\r\nbob\t2\t0\tNEVER\r\n");
  const auto failure_row = [](std::string row) { return row.replace(row.find('|'), 1, ": "); };
  EXPECT_EQ(run_.observer().failure_rows,
            (std::vector<std::string>{failure_row(dc3), failure_row(dc5)}));

  // Each controller exported as its own target, the domain itself not.
  Configure(query + "1", {}, general);
  run_.Run();
  EXPECT_EQ(run_.Output("q.txt"),
            "ann\t3\t1\t9/9/2001 1:46:40\r\nbob\t0\t0\t(None)\r\n"
            "ann\t4\t0\t11/9/2004 11:33:20\r\nbob\t2\t0\t(None)\r\n");
}

// accountExpires names the first moment an account no longer works: one
// that ends at midnight on 1 February worked until the last second of 31
// January, with the locale's format as with a custom one.
TEST(DirectoryAccountExpiry, ShowsTheLastMomentTheAccountWorks) {
  for (const auto& [advanced, shown] :
       {std::pair{"", "1/31/2026 23:59:59"},
        {"UserCustomDateFormat=%Y-%m-%d %H:%M:%S\n", "2026-01-31 23:59:59"}}) {
    SCOPED_TRACE(advanced);
    EndToEnd run;
    run.dir().Write("corp.ldif",
                    "dn: DC=corp,DC=test\ndc: corp\n\n"
                    "dn: CN=Schema,CN=Configuration,DC=corp,DC=test\ncn: Schema\n\n"
                    "dn: CN=accountExpires,CN=Schema,CN=Configuration,DC=corp,DC=test\n"
                    "objectClass: attributeSchema\nlDAPDisplayName: accountExpires\n"
                    "attributeSyntax: 2.5.5.16\n\n"
                    "dn: CN=Cal,DC=corp,DC=test\nobjectClass: user\n"
                    "objectCategory: CN=Person,CN=Schema,DC=corp\ncn: Cal\nsAMAccountName: cal\n"
                    "accountExpires: 134143776000000000\n\n");
    run.SetEstate(R"({"domains": [{"name": "CORP", "dns_name": "corp.test", "controller": "DC1",
      "directory": {"ldif": ")" +
                  run.dir().File("corp.ldif") +
                  R"("}}], "computers": [{"name": "DC1", "domain": "CORP"}]})");
    run.dir().Write("DirectoryQueries.CFG",
                    "[Q]\nOutputFileName=q.txt\nAttributes=samaccountname,accountExpires\n"
                    "Filter=1\nLevel=1\n");
    run.SetConfiguration(
        std::string("[General]\nWriteTitles=0\n[Templates]\nDirectoryTemplates=Q;\n"
                    "[Advanced]\n") +
        advanced);
    run.SetObjects({{101, "corp", "LDAP://DC=corp,DC=test"}});
    run.Run();
    EXPECT_EQ(run.Output("q.txt"), std::string("cal\t") + shown + "\r\n");
  }
}

}  // namespace
}  // namespace tabulon::testing
