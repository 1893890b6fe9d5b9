// Local groups and their members exported end to end from a small estate:
// member types, details, nested expansion and its caches, the options,
// group patterns and failures.
#include <gtest/gtest.h>

#include <atomic>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/e2e.h"

namespace tabulon::testing {
namespace {

// PC1 holds a deleted account (S-1-5-21-1-2-3-1009) and one of a domain the
// estate does not know. QUARRY's domain local groups Taproom and Cellar
// contain each other; FARAWAY has no controller.
constexpr std::string_view kEstate = R"({
  "domains": [
    {"name": "QUARRY", "controller": "QHDC01", "sid": "S-1-5-21-4100-4200-4300",
     "accounts": [
       {"name": "Administrator", "rid": 500}, {"name": "mtanner", "rid": 1121},
       {"name": "olduser", "rid": 1122}],
     "users": [
       {"name": "Administrator", "rid": 500, "full_name": "Brewhouse admin",
        "comment": "Runs the domain"},
       {"name": "mtanner", "rid": 1121, "full_name": "Mia Tanner", "comment": "Brewer"},
       {"name": "olduser", "rid": 1122, "full_name": "Old Hand", "flags": "ACCOUNTDISABLE"}],
     "groups": [
       {"name": "Domain Admins", "rid": 512, "comment": "Designated administrators",
        "members": ["Administrator", "olduser"]},
       {"name": "Brewers", "rid": 1110, "comment": "Brew crew", "members": ["mtanner"]}],
     "local_groups": [
       {"name": "Taproom", "rid": 1200, "comment": "Taproom staff",
        "members": ["QUARRY\\Brewers", "QUARRY\\Cellar"]},
       {"name": "Cellar", "rid": 1201, "comment": "Cellar staff",
        "members": ["QUARRY\\Taproom", "QUARRY\\mtanner"]}]},
    {"name": "FARAWAY", "sid": "S-1-5-21-7-8-9",
     "accounts": [{"name": "visitor", "rid": 1001}, {"name": "Visitors", "rid": 1002, "use": "Group"}]}
  ],
  "computers": [
    {"name": "QHDC01", "domain": "QUARRY",
     "server": {"type": ["WORKSTATION", "SERVER", "PDC", "NT"], "version_major": 10}},
    {"name": "PC1", "dns_name": "pc1.quarry.example", "domain": "QUARRY", "sid": "S-1-5-21-1-2-3",
     "accounts": [{"name": "bob", "rid": 1001}, {"name": "old", "rid": 1002}],
     "users": [
       {"name": "bob", "rid": 1001, "full_name": "Bob Barrel", "comment": "Till"},
       {"name": "old", "rid": 1002, "full_name": "Old Till", "flags": "ACCOUNTDISABLE"}],
     "local_groups": [
       {"name": "Administrators", "comment": "Full control",
        "members": ["PC1\\bob", "QUARRY\\Domain Admins", "S-1-5-21-1-2-3-1009",
                    "S-1-5-21-99-99-99-1000", "S-1-5-4"]},
       {"name": "Power Users", "comment": "Some control",
        "members": ["PC1\\old", "QUARRY\\Taproom", "FARAWAY\\visitor", "FARAWAY\\Visitors"]},
       {"name": "Guests", "comment": "Visitors"},
       {"name": "Remote Admins", "comment": "Remote control", "members": ["S-1-5-21-1-2-3-1010"]},
       {"name": "Backup Operators", "comment": "Backups", "members": ["PC1\\bob"],
        "failures": {"NetLocalGroupGetMembers": "ERROR_ACCESS_DENIED"}}]},
    {"name": "LOCKED", "failures": {"NetLocalGroupEnum": "ERROR_ACCESS_DENIED"}}
  ]
})";

constexpr std::string_view kTimeUnit = "3/5/2026 14:07:09";
constexpr std::string_view kDenied =
    "Unable to get local group members for 'Backup Operators' from '\\\\PC1.quarry.example'. "
    "Access was denied.";

std::string Rows(std::initializer_list<std::string> rows) {
  std::string text;
  for (const std::string& r : rows) text += r;
  return text;
}

const std::string kMembersTitle = Row({"GroupName", "MemberName", "MemberType", "GroupType"});
const std::string kAllMembersTitle = Row({"GroupName", "MemberName", "MemberType", "GroupType",
                                          "MemberFullName", "MemberComment", "MemberEnabled"});

class Groups : public ::testing::Test {
 protected:
  void SetUp() override {
    run_.SetEstate(kEstate);
    run_.SetObjects({{24, "PC1", "\\\\PC1.quarry.example"}});
  }
  void Configure(std::string_view groups_section, std::string_view general = {}) {
    // Four member columns unless the section names its own.
    const bool columns = groups_section.find("MembersColumns") != std::string_view::npos;
    run_.SetConfiguration(
        "[General]\nEnableLogging=1\n" + std::string(general) + "[Groups]\nExportGroupMembers=1\n" +
        (columns ? "" : "MembersColumns=0,1,2,3\n") + std::string(groups_section));
  }
  EndToEnd run_;
};

TEST_F(Groups, GroupsAndMembersAsListed) {
  Configure("ExportGroups=1\nGroupsColumns=0,1,2,3\n");
  run_.Run();
  EXPECT_EQ(run_.Output("groups.txt"),
            Rows({Row({"GroupName", "GroupComment", "GroupType", "GroupSID"}),
                  Row({"Administrators", "Full control", "LOCAL", "S-1-5-32-544"}),
                  Row({"Power Users", "Some control", "LOCAL", "S-1-5-32-547"}),
                  Row({"Guests", "Visitors", "LOCAL", "S-1-5-32-546"}),
                  // Not an account the computer resolves.
                  Row({"Remote Admins", "Remote control", "LOCAL", "ERROR"}),
                  Row({"Backup Operators", "Backups", "LOCAL", "S-1-5-32-551"})}));
  // Unresolved SIDs are left out; without detail columns nothing is looked
  // up and the listed types stay.
  EXPECT_EQ(run_.Output("group_members.txt"),
            Rows({kMembersTitle, Row({"Administrators", "PC1\\bob", "USER", "LOCAL"}),
                  Row({"Administrators", "QUARRY\\Domain Admins", "GLOBAL_GROUP", "LOCAL"}),
                  Row({"Administrators", "NT AUTHORITY\\INTERACTIVE", "WELL_KNOWN_GROUP", "LOCAL"}),
                  Row({"Power Users", "PC1\\old", "USER", "LOCAL"}),
                  Row({"Power Users", "QUARRY\\Taproom", "LOCAL_GROUP", "LOCAL"}),
                  Row({"Power Users", "FARAWAY\\visitor", "USER", "LOCAL"}),
                  Row({"Power Users", "FARAWAY\\Visitors", "GLOBAL_GROUP", "LOCAL"})}));
  EXPECT_TRUE(run_.Calls("NetUserGetInfo").empty());
  EXPECT_TRUE(run_.Calls("NetGetDCName").empty());
  EXPECT_EQ(run_.Calls("NetLocalGroupEnum"),
            (std::vector<std::string>{"\\\\PC1.quarry.example level=1 prefmaxlen=65536 resume=0"}));
  EXPECT_EQ(run_.Output("Export.log"), std::string(kTimeUnit) +
                                           "\tPC1\tPC1.quarry.example\t\tGROUPS\tERROR\t" +
                                           std::string(kDenied) + "\r\n");
}

// The first Ctrl-C ends the groups and their member lists at the entry at
// hand, and the log says the export was cut short.
TEST_F(Groups, TheStopRequestEndsTheMemberLists) {
  Configure("ExportGroups=1\nGroupsColumns=0\n");
  run_.observer().on_row = [this](const ProgressRow& row) {
    if (row.status == "Exporting Group Information...") run_.control().RequestStop();
  };
  run_.Run();
  EXPECT_EQ(run_.Output("groups.txt"), Rows({Row({"GroupName"}), Row({"Administrators"})}));
  EXPECT_EQ(run_.Output("group_members.txt"),
            Rows({kMembersTitle, Row({"Administrators", "PC1\\bob", "USER", "LOCAL"})}));
  EXPECT_EQ(run_.Output("Export.log"),
            std::string(kTimeUnit) +
                "\tPC1\tPC1.quarry.example\t\tGROUPS\tERROR\tExport Aborted By User.\r\n");
}

TEST_F(Groups, MemberDetailsRefineTheType) {
  Configure("MembersColumns=0,1,2,3,4,5,6\n");
  run_.Run();
  EXPECT_EQ(run_.Output("group_members.txt"),
            Rows({kAllMembersTitle,
                  // PC1 is the target's name up to its first dot: a local account.
                  Row({"Administrators", "PC1\\bob", "LOCAL_USER", "LOCAL", "Bob Barrel", "Till",
                       "TRUE"}),
                  Row({"Administrators", "QUARRY\\Domain Admins", "DOMAIN_GROUP", "LOCAL", "",
                       "Designated administrators", "TRUE"}),
                  Row({"Administrators", "NT AUTHORITY\\INTERACTIVE", "WELL_KNOWN_GROUP", "LOCAL",
                       "", "", "TRUE"}),
                  Row({"Power Users", "PC1\\old", "LOCAL_USER", "LOCAL", "Old Till", "", "FALSE"}),
                  Row({"Power Users", "QUARRY\\Taproom", "DOMAIN_LOCAL_GROUP", "LOCAL", "",
                       "Taproom staff", "TRUE"}),
                  // No controller for FARAWAY: the listed type stays.
                  Row({"Power Users", "FARAWAY\\visitor", "USER", "LOCAL", "ERROR: NO_DC",
                       "ERROR: NO_DC", ""}),
                  Row({"Power Users", "FARAWAY\\Visitors", "GLOBAL_GROUP", "LOCAL", "ERROR: NO_DC",
                       "ERROR: NO_DC", ""})}));
  // Each domain is asked for a controller once.
  EXPECT_EQ(run_.Calls("NetGetDCName"),
            (std::vector<std::string>{" domain=QUARRY", " domain=FARAWAY"}));
}

// Within a run, what a lookup found serves every target; a controller that
// could not be found is asked for again by the next target, so that no
// target's rows depend on another target's failure.
TEST_F(Groups, ARunSharesWhatItFoundButNotItsFailures) {
  run_.SetObjects({{24, "PC1", "\\\\PC1.quarry.example"}, {24, "PC1", "\\\\PC1.quarry.example"}});
  Configure("MembersColumns=0,1,2,3,4,5,6\n");
  run_.Run();
  const std::string members = run_.Output("group_members.txt");
  ASSERT_TRUE(members.starts_with(kAllMembersTitle));
  const std::string rows = members.substr(kAllMembersTitle.size());
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.substr(0, rows.size() / 2), rows.substr(rows.size() / 2));
  EXPECT_EQ(run_.Calls("NetGetDCName"),
            (std::vector<std::string>{" domain=QUARRY", " domain=FARAWAY", " domain=FARAWAY"}));
}

struct OptionCase {
  std::string_view name;
  std::string_view settings;
  std::vector<std::string> rows;  // after the title
};

TEST_F(Groups, Options) {
  const OptionCase cases[] = {
      {"unresolved SIDs written as SIDs",
       "ExportUnresolvedSids=1\n",
       {Row({"Administrators", "PC1\\bob", "USER", "LOCAL"}),
        Row({"Administrators", "QUARRY\\Domain Admins", "GLOBAL_GROUP", "LOCAL"}),
        Row({"Administrators", "S-1-5-21-1-2-3-1009", "Deleted Account", "LOCAL"}),
        Row({"Administrators", "S-1-5-21-99-99-99-1000", "Unknown Account", "LOCAL"}),
        Row({"Administrators", "NT AUTHORITY\\INTERACTIVE", "WELL_KNOWN_GROUP", "LOCAL"}),
        Row({"Power Users", "PC1\\old", "USER", "LOCAL"}),
        Row({"Power Users", "QUARRY\\Taproom", "LOCAL_GROUP", "LOCAL"}),
        Row({"Power Users", "FARAWAY\\visitor", "USER", "LOCAL"}),
        Row({"Power Users", "FARAWAY\\Visitors", "GLOBAL_GROUP", "LOCAL"}),
        Row({"Remote Admins", "S-1-5-21-1-2-3-1010", "Deleted Account", "LOCAL"})}},
      // Remote Admins listed a member, so it gets no marker; the group whose
      // members could not be read counts as empty.
      {"empty groups get a marker",
       "ExportEmptyGroups=1\n",
       {Row({"Administrators", "PC1\\bob", "USER", "LOCAL"}),
        Row({"Administrators", "QUARRY\\Domain Admins", "GLOBAL_GROUP", "LOCAL"}),
        Row({"Administrators", "NT AUTHORITY\\INTERACTIVE", "WELL_KNOWN_GROUP", "LOCAL"}),
        Row({"Power Users", "PC1\\old", "USER", "LOCAL"}),
        Row({"Power Users", "QUARRY\\Taproom", "LOCAL_GROUP", "LOCAL"}),
        Row({"Power Users", "FARAWAY\\visitor", "USER", "LOCAL"}),
        Row({"Power Users", "FARAWAY\\Visitors", "GLOBAL_GROUP", "LOCAL"}),
        Row({"Guests", "NO_MEMBERS", "", ""}), Row({"Backup Operators", "NO_MEMBERS", "", ""})}},
      {"disabled users dropped only with a detail column",
       "ExportDisabledUsers=0\nMembersColumns=0,1,2,6\n",
       {Row({"Administrators", "PC1\\bob", "LOCAL_USER", "TRUE"}),
        Row({"Administrators", "QUARRY\\Domain Admins", "DOMAIN_GROUP", "TRUE"}),
        Row({"Administrators", "NT AUTHORITY\\INTERACTIVE", "WELL_KNOWN_GROUP", "TRUE"}),
        Row({"Power Users", "QUARRY\\Taproom", "DOMAIN_LOCAL_GROUP", "TRUE"}),
        Row({"Power Users", "FARAWAY\\visitor", "USER", ""}),
        Row({"Power Users", "FARAWAY\\Visitors", "GLOBAL_GROUP", ""})}},
      {"disabled users kept without a detail column",
       "ExportDisabledUsers=0\n",
       {Row({"Administrators", "PC1\\bob", "USER", "LOCAL"}),
        Row({"Administrators", "QUARRY\\Domain Admins", "GLOBAL_GROUP", "LOCAL"}),
        Row({"Administrators", "NT AUTHORITY\\INTERACTIVE", "WELL_KNOWN_GROUP", "LOCAL"}),
        Row({"Power Users", "PC1\\old", "USER", "LOCAL"}),
        Row({"Power Users", "QUARRY\\Taproom", "LOCAL_GROUP", "LOCAL"}),
        Row({"Power Users", "FARAWAY\\visitor", "USER", "LOCAL"}),
        Row({"Power Users", "FARAWAY\\Visitors", "GLOBAL_GROUP", "LOCAL"})}},
  };
  for (const OptionCase& c : cases) {
    SCOPED_TRACE(c.name);
    Configure(c.settings);
    run_.Run();
    const std::string output = run_.Output("group_members.txt");
    std::string rows;
    for (const std::string& r : c.rows) rows += r;
    EXPECT_EQ(output.substr(output.find("\r\n") + 2), rows);
  }
}

TEST_F(Groups, NestedExpansionEndsInCyclesAndReusesTheCaches) {
  Configure("ExportNestedGroups=1\nMembersColumns=0,1,2,4,5,6\n");
  run_.Run();
  const std::string admins = "DOMAIN_MEMBER (QUARRY\\Domain Admins)";
  const std::string taproom = "DOMAIN_MEMBER (QUARRY\\Taproom)";
  const std::string cellar = "DOMAIN_MEMBER (QUARRY\\Cellar)";
  const std::string expected = Rows(
      {Row({"GroupName", "MemberName", "MemberType", "MemberFullName", "MemberComment",
            "MemberEnabled"}),
       Row({"Administrators", "PC1\\bob", "LOCAL_USER", "Bob Barrel", "Till", "TRUE"}),
       Row({"Administrators", "QUARRY\\Domain Admins", "DOMAIN_GROUP", "",
            "Designated administrators", "TRUE"}),
       // A global group's members come by their bare names.
       Row({"Administrators", "Administrator", admins, "Brewhouse admin", "Runs the domain",
            "TRUE"}),
       Row({"Administrators", "olduser", admins, "Old Hand", "", "FALSE"}),
       Row({"Administrators", "NT AUTHORITY\\INTERACTIVE", "WELL_KNOWN_GROUP", "", "", "TRUE"}),
       Row({"Power Users", "PC1\\old", "LOCAL_USER", "Old Till", "", "FALSE"}),
       Row({"Power Users", "QUARRY\\Taproom", "DOMAIN_LOCAL_GROUP", "", "Taproom staff", "TRUE"}),
       Row({"Power Users", "QUARRY\\Brewers", taproom, "", "Brew crew", "TRUE"}),
       Row({"Power Users", "mtanner", "DOMAIN_MEMBER (QUARRY\\Brewers)", "Mia Tanner", "Brewer",
            "TRUE"}),
       Row({"Power Users", "QUARRY\\Cellar", taproom, "", "Cellar staff", "TRUE"}),
       // Taproom is being expanded already: its row, but no second expansion.
       Row({"Power Users", "QUARRY\\Taproom", cellar, "", "Taproom staff", "TRUE"}),
       Row({"Power Users", "QUARRY\\mtanner", cellar, "Mia Tanner", "Brewer", "TRUE"}),
       Row({"Power Users", "FARAWAY\\visitor", "USER", "ERROR: NO_DC", "ERROR: NO_DC", ""}),
       Row({"Power Users", "FARAWAY\\Visitors", "GLOBAL_GROUP", "ERROR: NO_DC", "ERROR: NO_DC",
            ""})});
  EXPECT_EQ(run_.Output("group_members.txt"), expected);
  const std::vector<std::string> progress = run_.ProgressLines();
  EXPECT_NE(std::find(progress.begin(), progress.end(),
                      "1|52|PC1|Unable to determine server for domain 'FARAWAY' for group "
                      "'Visitors'"),
            progress.end());
  EXPECT_EQ(run_.Calls("NetGetDCName").size(), 2u);
  EXPECT_FALSE(run_.Calls("NetUserGetInfo").empty());

  // What a run learns ends with it: a second run asks again, and answers
  // the same.
  const std::size_t asked = run_.Calls("NetUserGetInfo").size();
  run_.Run();
  EXPECT_EQ(run_.Output("group_members.txt"), expected);
  EXPECT_EQ(run_.Calls("NetGetDCName").size(), 2u);
  EXPECT_EQ(run_.Calls("NetUserGetInfo").size(), asked);
}

TEST_F(Groups, GroupPatterns) {
  const struct {
    std::string_view patterns;
    std::string expected;
  } cases[] = {
      {"", "Administrators,Power Users,Guests,Remote Admins,Backup Operators,"},
      {"adm*\n", "Administrators,"},
      {"*admin*\n", "Administrators,Remote Admins,"},
      {"*users\nguests\n", "Power Users,Guests,"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.patterns);
    run_.dir().Write("groups.lst", c.patterns);
    run_.SetConfiguration(
        "[Groups]\nExportGroups=1\nGroupsColumns=0\nExportSpecificGroups=1\n"
        "SpecificFileName=" +
        run_.dir().File("groups.lst") + "\n[General]\nWriteTitles=0\n");
    run_.Run();
    std::string names = run_.Output("groups.txt");
    for (std::size_t at = 0; (at = names.find("\r\n", at)) != std::string::npos;) {
      names.replace(at, 2, ",");
    }
    EXPECT_EQ(names, c.expected);
    // The groups file alone never lists members.
    EXPECT_TRUE(run_.Calls("NetLocalGroupGetMembers").empty());
  }
}

TEST_F(Groups, FailuresAreReportedAndTheRunGoesOn) {
  run_.SetObjects({{24, "PC1", "\\\\PC1.quarry.example"}, {24, "LOCKED", "\\\\LOCKED"}});
  const std::string locked = "Unable to get local groups for '\\\\LOCKED'. Access was denied.";
  const std::string start = "Exporting Group Information...";
  Configure("", "VerboseProgress=1\n");
  run_.Run();
  EXPECT_EQ(run_.ProgressLines(),
            (std::vector<std::string>{
                // The start row, which the closing report extends,
                // comes before the group's own failure row.
                "0|7|PC1|Exporting...", "1|88|PC1|" + start + std::string(kDenied),
                "2|52|PC1|" + std::string(kDenied), "0|7|LOCKED|Exporting...",
                "1|88|LOCKED|" + start + locked, "0|53|Export Completed.|2 Objects Processed."}));
  EXPECT_EQ(run_.Output("Export.log"), std::string(kTimeUnit) +
                                           "\tPC1\tPC1.quarry.example\t\tGROUPS\tERROR\t" +
                                           std::string(kDenied) + "\r\n" + std::string(kTimeUnit) +
                                           "\tLOCKED\tLOCKED\t\tGROUPS\tERROR\t" + locked + "\r\n");

  Configure("", "VerboseProgress=0\n");
  run_.Run();
  EXPECT_EQ(run_.ProgressLines(),
            (std::vector<std::string>{"0|7|PC1|Exporting...", "1|52|PC1|" + std::string(kDenied),
                                      "1|52|PC1|" + std::string(kDenied), "0|7|LOCKED|Exporting...",
                                      "1|52|LOCKED|" + locked,
                                      "0|53|Export Completed.|2 Objects Processed."}));
}

TEST_F(Groups, DomainControllersAreSkipped) {
  // A controller newer than NT 4 by its server type, and a backup
  // controller by its object type.
  run_.SetObjects({{24, "QHDC01", "\\\\QHDC01"}, {32, "PC1", "\\\\PC1"}});
  Configure("ExportGroups=1\n");
  run_.Run();
  EXPECT_TRUE(run_.Calls("NetLocalGroupEnum").empty());
  EXPECT_EQ(run_.Output("Export.log"), "");
}

}  // namespace
}  // namespace tabulon::testing
