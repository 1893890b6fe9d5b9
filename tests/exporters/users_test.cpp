// Users and user groups exported end to end: the fields of one account
// database, and the logon values of an NT domain's controllers, consolidated
// or per controller.
#include <gtest/gtest.h>

#include <initializer_list>

#include "support/e2e.h"

namespace tabulon::testing {
namespace {

// The domain's controllers each count logons of its accounts on their own:
// mtanner logged on 3 times at PDC01 and 4 times at BDC01, last at BDC01.
// BDC02 does not answer; BDC03 answers but cannot list its accounts. No
// controller can describe zsmith.
constexpr std::string_view kEstate = R"({
  "domains": [{"name": "BREWERY", "sid": "S-1-5-21-7-8-9", "controller": "PDC01",
    "users": [
      {"name": "mtanner", "rid": 1121, "full_name": "Mary Tanner", "groups": ["None"],
       "local_groups": ["Users"]},
      {"name": "Administrator", "rid": 500, "priv": "ADMIN",
       "flags": ["NORMAL_ACCOUNT", "DONT_EXPIRE_PASSWD"], "num_logons": 99,
       "groups": ["Domain Admins", "None", "Domain Users"], "local_groups": ["Administrators"]},
      {"name": "zsmith", "rid": 1122, "failures": {"NetUserGetInfo": "ERROR_ACCESS_DENIED"}}
    ]}],
  "computers": [
    {"name": "PDC01", "domain": "BREWERY",
     "server": {"version_major": 4, "type": ["WORKSTATION", "SERVER", "PDC", "NT"]},
     "logon_counters": {
       "mtanner": {"last_logon": "2026-03-01T08:00:00Z", "last_logoff": "2026-03-01T17:00:00Z",
                   "num_logons": 3, "bad_pw_count": 1},
       "Administrator": {"last_logon": "2026-02-01T07:00:00Z", "num_logons": 5}}},
    {"name": "BDC01", "domain": "BREWERY",
     "server": {"version_major": 4, "type": ["WORKSTATION", "SERVER", "BDC", "NT"]},
     "logon_counters": {
       "mtanner": {"last_logon": "2026-03-04T09:30:00Z", "last_logoff": "2026-02-27T17:00:00Z",
                   "num_logons": 4, "bad_pw_count": 2}}},
    {"name": "BDC02", "domain": "BREWERY", "offline": true,
     "server": {"version_major": 4, "type": ["WORKSTATION", "SERVER", "BDC", "NT"]}},
    {"name": "BDC03", "domain": "BREWERY",
     "server": {"version_major": 4, "type": ["WORKSTATION", "SERVER", "BDC", "NT"]},
     "failures": {"NetQueryDisplayInformation": "ERROR_ACCESS_DENIED"}},
    {"name": "WS01", "sid": "S-1-5-21-1-2-3",
     "terminal_services": {"user_config": {"kwade": {
       "initial_program": "C:\\Apps\\till.exe", "idle_xout": 1800000,
       "broken_xout": 30000, "disconnection_xout": 0}}},
     "users": [
      {"name": "kwade", "rid": 1001, "full_name": "Kit Wade", "comment": "Cellar",
       "usr_comment": "night shift\r\nweekends", "password_age": 259199, "priv": "USER",
       "home_dir": "\\\\FS01\\kwade", "home_dir_drive": "H:", "script_path": "logon.cmd",
       "flags": ["ACCOUNTDISABLE", "DONT_EXPIRE_PASSWD", "NORMAL_ACCOUNT"],
       "workstations": "TILL1,TILL2", "last_logon": "2026-03-05T13:05:09Z",
       "acct_expires": 4294967295, 
       "logon_hours": "010000000000000000000000000000000000000080",
       "bad_pw_count": 2, "num_logons": 41, "primary_group_id": 513, "profile": "C:\\P\\kwade",
       "password_expired": true, "local_groups": ["Users", "Cellar"], "groups": ["None"],
       "dial_in": {"privilege": ["DialinPrivilege", "AdminSetCallback"],
                   "phone_number": "+44 1632 960142"}},
      {"name": "guest", "rid": 501, "priv": "GUEST", "flags": 0, "units_per_week": 84}
     ]}
  ]
})";

class Users : public ::testing::Test {
 protected:
  void SetUp() override { run_.SetEstate(kEstate); }
  EndToEnd run_;
};

TEST_F(Users, EveryFieldOfALocalAccountDatabase) {
  run_.SetObjects({{24, "WS01", "\\\\WS01"}});
  run_.SetConfiguration(
      "[Users]\nExportUsers=1\nExportUsersGroups=1\n"
      "UsersColumns=0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,30,31,"
      "35\nUsersGroupsColumns=1002,0,1,2\n");
  run_.Run();
  std::string hours = "1" + std::string(166, '0') + "1";
  const std::string title = Row({"UserName",
                                 "FullName",
                                 "Comment",
                                 "PasswordAge",
                                 "PrivLevel",
                                 "HomeDir",
                                 "HomeDirDrive",
                                 "AccountFlags",
                                 "LogonScript",
                                 "Note",
                                 "Workstations",
                                 "LastLogon",
                                 "LastLogoff",
                                 "Expiration",
                                 "LogonHours",
                                 "BadPwdCount",
                                 "LogonCount",
                                 "RID",
                                 "PrimaryGroupRID",
                                 "Profile",
                                 "PasswordExpired",
                                 "UserSID",
                                 "RAS_Allowed",
                                 "RAS_Setting",
                                 "RAS_Callback",
                                 "tse_initial_program",
                                 "tse_disconnection_xout",
                                 "tse_idle_xout",
                                 "tse_broken_xout"});
  const std::string guest = Row({"guest",
                                 "",
                                 "",
                                 "0",
                                 "GUEST",
                                 "",
                                 "",
                                 "",
                                 "",
                                 "",
                                 "",
                                 "NEVER",
                                 "NEVER",
                                 "02/07/2106 06:28:15 AM",
                                 "UNABLE TO DETERMINE",
                                 "0",
                                 "0",
                                 "501",
                                 "513",
                                 "",
                                 "NO",
                                 "S-1-5-21-1-2-3-501",
                                 "NO",
                                 "NO_CALLBACK",
                                 "",
                                 "",
                                 "",
                                 "",
                                 ""});
  const std::string kwade = Row({"kwade",
                                 "Kit Wade",
                                 "Cellar",
                                 "2",
                                 "USER",
                                 "\\\\FS01\\kwade",
                                 "H:",
                                 "DISABLED^DONT_EXPIRE_PASSWD^NORMAL_ACCOUNT",
                                 "logon.cmd",
                                 "night shift~~weekends",
                                 "TILL1^TILL2",
                                 "03/05/2026 01:05:09 PM",
                                 "NEVER",
                                 "02/07/2106 06:28:15 AM",
                                 hours,
                                 "2",
                                 "41",
                                 "1001",
                                 "513",
                                 "C:\\P\\kwade",
                                 "YES",
                                 "S-1-5-21-1-2-3-1001",
                                 "YES",
                                 "SET_BY_ADMIN",
                                 "+44 1632 960142",
                                 "C:\\Apps\\till.exe",
                                 "0",
                                 "30",
                                 "30000"});
  EXPECT_EQ(run_.Output("users.txt"), title + guest + kwade);
  EXPECT_EQ(run_.Output("user_groups.txt"),
            Row({"Object_Path", "UserName", "GroupName", "GroupType"}) +
                Row({"\\\\WS01", "kwade", "Users", "LOCAL"}) +
                Row({"\\\\WS01", "kwade", "Cellar", "LOCAL"}));
}

TEST_F(Users, ConsolidatedLogonValuesFromEveryController) {
  run_.SetObjects({{31, "PDC01", "\\\\PDC01"}});
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\n[Users]\nExportUsers=1\nGetLogonInformation=1\n"
      "UsersColumns=0,11,12,15,16\n");
  run_.Run();
  EXPECT_EQ(run_.Output("users.txt"),
            Row({"UserName", "LastLogon", "LastLogoff", "BadPwdCount", "LogonCount"}) +
                Row({"Administrator", "02/01/2026 07:00:00 AM", "NEVER", "0", "5"}) +
                // The later of each time, the sums of the counts.
                Row({"mtanner", "03/04/2026 09:30:00 AM", "03/01/2026 05:00:00 PM", "3", "7"}));
  EXPECT_EQ(run_.ProgressLines(),
            (std::vector<std::string>{
                "0|73|PDC01|Exporting...",
                "1|73|BDC01|Getting last logon information from '\\\\BDC01'...",
                "0|52|BDC02|Unable to retrieve computer information for '\\\\BDC02'. The "
                "network path could not be found.",
                "1|88|BDC03|Getting last logon information from '\\\\BDC03'...Unable to "
                "get user information from '\\\\BDC03'. Access was denied.",
                "1|73|PDC01|Getting last logon information from '\\\\PDC01'...",
                "1|88|PDC01|Exporting Users...Unable to lookup user information for "
                "'zsmith' from '\\\\PDC01'. Access was denied.",
                "0|53|Export Completed.|1 Objects Processed."}));

  // Without a window, a controller whose accounts cannot be listed is on
  // standard error as one that does not answer is, and in the log.
  run_.Run(false);
  EXPECT_EQ(run_.observer().failure_rows,
            (std::vector<std::string>{
                "BDC02: Unable to retrieve computer information for '\\\\BDC02'. The network "
                "path could not be found.",
                "BDC03: Getting last logon information from '\\\\BDC03'...Unable to get user "
                "information from '\\\\BDC03'. Access was denied.",
                "PDC01: Unable to lookup user information for 'zsmith' from '\\\\PDC01'. Access "
                "was denied."}));
  EXPECT_NE(run_.Output("Export.log")
                .find("\tUSERS\tERROR\tUnable to get user information from '\\\\BDC03'."),
            std::string::npos);
}

TEST_F(Users, EachControllerExportedOnItsOwn) {
  run_.SetObjects({{31, "PDC01", "\\\\PDC01"}});
  run_.SetConfiguration(
      "[General]\nVerboseProgress=0\n[Users]\nExportUsers=1\nGetLogonInformation=1\n"
      "LastLogonType=1\nUsersColumns=1002,0,16\n");
  run_.Run();
  EXPECT_EQ(run_.Output("users.txt"),
            Row({"Object_Path", "UserName", "LogonCount"}) +
                Row({"\\\\BDC01", "Administrator", "0"}) + Row({"\\\\BDC01", "mtanner", "4"}) +
                Row({"\\\\PDC01", "Administrator", "5"}) + Row({"\\\\PDC01", "mtanner", "3"}));
}

TEST_F(Users, PlainExportWhenTheTargetIsNoPrimaryControllerObject) {
  run_.SetObjects({{24, "PDC01", "\\\\PDC01"}});
  run_.SetConfiguration(
      "[Users]\nExportUsers=1\nGetLogonInformation=1\nUsersColumns=0,16\n"
      "ExportUsersGroups=1\nUsersGroupsColumns=0,1,2\n");
  run_.Run();
  EXPECT_EQ(run_.Output("users.txt"),
            Row({"UserName", "LogonCount"}) + Row({"Administrator", "5"}) + Row({"mtanner", "3"}));
  // "None" says nothing about the account.
  EXPECT_EQ(run_.Output("user_groups.txt"), Row({"UserName", "GroupName", "GroupType"}) +
                                                Row({"Administrator", "Administrators", "LOCAL"}) +
                                                Row({"Administrator", "Domain Admins", "GLOBAL"}) +
                                                Row({"Administrator", "Domain Users", "GLOBAL"}) +
                                                Row({"mtanner", "Users", "LOCAL"}));
}

// Controllers whose accounts are directory accounts, and backup controller
// objects, are not exported and not reported.
TEST_F(Users, DirectoryControllersAndBackupObjectsArePassedOver) {
  run_.SetEstate(R"({"computers": [{"name": "DC5", "server": {"version_major": 5,
      "type": ["SERVER", "PDC", "NT"]}, "users": [{"name": "a"}]},
      {"name": "BDC", "server": {"version_major": 4}, "users": [{"name": "b"}]}]})");
  run_.SetObjects({{24, "DC5", "\\\\DC5"}, {32, "BDC", "\\\\BDC"}});
  run_.SetConfiguration("[Users]\nExportUsers=1\nUsersColumns=0\n");
  run_.Run();
  EXPECT_EQ(run_.Output("users.txt"), Row({"UserName"}));
}

TEST_F(Users, FailuresEndTheTargetWithAProgressRowAndALogLine) {
  run_.SetEstate(R"({"computers": [
      {"name": "LOCKED", "failures": {"NetQueryDisplayInformation": "ERROR_ACCESS_DENIED"}},
      {"name": "NOSID", "users": [{"name": "a", "rid": 1000}]}]})");
  run_.SetObjects({{24, "LOCKED", "\\\\LOCKED"}, {24, "NOSID", "\\\\NOSID"}});
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\nVerboseProgress=0\n[Users]\nExportUsers=1\n"
      "UsersColumns=0,21\n");
  run_.Run();
  EXPECT_EQ(run_.Output("users.txt"), Row({"UserName", "UserSID"}) + Row({"a", "ERROR-1000"}));
  EXPECT_EQ(run_.ProgressLines(),
            (std::vector<std::string>{
                "0|7|LOCKED|Exporting...",
                "1|52|LOCKED|Unable to get user information from '\\\\LOCKED'. Access was denied.",
                "0|7|NOSID|Exporting...", "0|53|Export Completed.|2 Objects Processed."}));
  EXPECT_EQ(run_.Output("Export.log"),
            "3/5/2026 14:07:09\tLOCKED\tLOCKED\t\tUSERS\tERROR\tUnable to get user information "
            "from '\\\\LOCKED'. Access was denied.\r\n"
            "3/5/2026 14:07:09\tNOSID\tNOSID\t\tUSERS\tSUCCESS\t\r\n");
}

// The first of "no callback", "set by caller", "set by administrator" that
// is set names the setting; the number shows only with the last.
TEST_F(Users, DialInColumnsFollowThePrivilegeBits) {
  struct Case {
    std::string_view privilege;
    std::string_view allowed, setting, callback;
  };
  const Case cases[] = {
      {"0", "NO", "", ""},
      {"8", "YES", "", ""},
      {"9", "YES", "NO_CALLBACK", ""},
      {"4", "NO", "SET_BY_CALLER", ""},
      {"10", "YES", "SET_BY_ADMIN", "555 0100"},
      {"7", "NO", "NO_CALLBACK", ""},
      {"6", "NO", "SET_BY_CALLER", ""},
      {"240", "NO", "", ""},  // bits above the dial-in bit mean nothing here
  };
  std::string users;
  std::string expected = Row({"UserName", "RAS_Allowed", "RAS_Setting", "RAS_Callback"});
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const std::string name = "u" + std::to_string(i);
    users += std::string(i == 0 ? "" : ",") + R"({"name": ")" + name +
             R"(", "dial_in": {"privilege": )" + std::string(c.privilege) +
             R"(, "phone_number": "555 0100"}})";
    expected += Row({name, c.allowed, c.setting, c.callback});
  }
  run_.SetEstate(R"({"computers": [{"name": "RAS1", "users": [)" + users + "]}]}");
  run_.SetObjects({{24, "RAS1", "\\RAS1"}});
  run_.SetConfiguration("[Users]\nExportUsers=1\nUsersColumns=0,22,23,24\n");
  run_.Run();
  EXPECT_EQ(run_.Output("users.txt"), expected);
}

// A failed lookup marks its account's columns and nothing else. Systems
// before mprapi ask the older interface, which a failure of the newer one
// does not touch.
TEST_F(Users, DialInLookupFailuresAndTheInterfaceOfOlderSystems) {
  run_.SetEstate(R"({"computers": [{"name": "RAS1", "users": [
      {"name": "a", "dial_in": {"privilege": 8}},
      {"name": "b", "failures": {"MprAdminUserGetInfo": "ERROR_ACCESS_DENIED"}}]}]})");
  run_.SetObjects({{24, "RAS1", "\\RAS1"}});
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\n[Users]\nExportUsers=1\nUsersColumns=0,22,23,24\n");
  run_.Run();
  EXPECT_EQ(run_.Output("users.txt"),
            Row({"UserName", "RAS_Allowed", "RAS_Setting", "RAS_Callback"}) +
                Row({"a", "YES", "", ""}) + Row({"b", "ERROR", "ERROR", "ERROR"}));
  EXPECT_EQ(run_.Output("Export.log"), "3/5/2026 14:07:09\tRAS1\tRAS1\t\tUSERS\tSUCCESS\t\r\n");

  run_.format().local_major_version = 4;
  run_.Run();
  EXPECT_EQ(run_.Output("users.txt"),
            Row({"UserName", "RAS_Allowed", "RAS_Setting", "RAS_Callback"}) +
                Row({"a", "YES", "", ""}) + Row({"b", "NO", "NO_CALLBACK", ""}));
}

// Without the administration library the columns are "NO_FORMAT", asked of
// nobody and reported to nobody.
TEST_F(Users, DialInColumnsWithoutTheAdministrationLibrary) {
  run_.SetEstate(R"({"libraries": {"remote_access": false},
      "computers": [{"name": "RAS1", "users": [{"name": "a", "dial_in": {"privilege": 8}}]}]})");
  run_.SetObjects({{24, "RAS1", "\\RAS1"}});
  run_.SetConfiguration("[Users]\nExportUsers=1\nUsersColumns=0,23\n");
  run_.Run();
  EXPECT_EQ(run_.Output("users.txt"), Row({"UserName", "RAS_Setting"}) + Row({"a", "NO_FORMAT"}));
  EXPECT_EQ(run_.backend().call_log().Count("MprAdminUserGetInfo"), 0u);
  EXPECT_EQ(run_.Messages(), std::vector<std::string>{});
}

}  // namespace
}  // namespace tabulon::testing
