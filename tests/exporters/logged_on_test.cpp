// Logged-on users exported end to end: the profile keys of HKEY_USERS.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/e2e.h"

namespace tabulon::testing {
namespace {

// Keys enumerate in upper-case order: .DEFAULT, NTUSER PROFILE BACKUP,
// S-1-16-..., S-1-5-18, S-1-5-21-...-1121, its _Classes, S-1-5-21-9-9-9-1000.
// NTCELLAR's controller knows brewer's full name, but a domain named "NT..."
// is never asked.
constexpr std::string_view kEstate = R"({
  "domains": [{"name": "QUARRY", "controller": "QHDC01", "sid": "S-1-5-21-4100-4200-4300",
               "accounts": [{"name": "mtanner", "rid": 1121}],
               "users": [{"name": "mtanner", "rid": 1121, "full_name": "Mia Tanner"}]},
              {"name": "NTCELLAR", "controller": "NTDC01", "sid": "S-1-5-21-77-78-79",
               "accounts": [{"name": "brewer", "rid": 1001}],
               "users": [{"name": "brewer", "rid": 1001, "full_name": "Never Asked"}]}],
  "computers": [
    {"name": "QHDC01", "domain": "QUARRY"},
    {"name": "NTDC01", "domain": "NTCELLAR"},
    {"name": "WS01", "domain": "QUARRY", "accounts": [{"name": "Mandatory", "sid": "S-1-22-4096"}],
     "users": [{"name": "Mandatory", "full_name": "Kiosk profile"}],
     "registry": {
       "text": ["Windows Registry Editor Version 5.00",
                "[HKEY_USERS\\.DEFAULT]",
                "[HKEY_USERS\\NTUSER Profile Backup]",
                "[HKEY_USERS\\S-1-16-4096]",
                "[HKEY_USERS\\S-1-5-18]",
                "[HKEY_USERS\\S-1-5-21-4100-4200-4300-1121]",
                "[HKEY_USERS\\S-1-5-21-4100-4200-4300-1121_Classes]",
                "[HKEY_USERS\\S-1-5-21-77-78-79-1001]",
                "[HKEY_USERS\\S-1-5-21-9-9-9-1000]"],
       "last_write": "2026-03-05 06:00:00",
       "key_times": {"HKU\\S-1-5-21-4100-4200-4300-1121": "2026-03-05T08:12:00Z"}}},
    {"name": "NOREG", "failures": {"RegConnectRegistry": "ERROR_ACCESS_DENIED"}}
  ]
})";

TEST(LoggedOn, ProfileKeysBecomeAccounts) {
  EndToEnd run;
  run.SetEstate(kEstate);
  run.SetObjects({{24, "WS01", "\\\\WS01"}, {24, "NOREG", "\\\\NOREG"}});
  run.SetConfiguration(
      "[General]\nEnableLogging=1\n[LoggedOn]\nExportLoggedOn=1\nLoggedOnColumns=0,1,2\n");
  run.Run();
  // The authority is read as hexadecimal: 16 is 22. A key that does not
  // resolve keeps its SID text and gets "ERROR"; .DEFAULT, a _Classes key
  // and a name that is not a SID give no row. Full names come from the
  // computer for its own accounts and from the controller for a domain's.
  const std::string six = "3/5/2026 6:00:00";
  EXPECT_EQ(run.Output("loggedon.txt"),
            "LoggedOnAccount\tLoggedOnName\tLoggedOnLogonTime\r\n"
            "WS01\\Mandatory\tKiosk profile\t" +
                six + "\r\n" + "NT AUTHORITY\\SYSTEM\t\t" + six + "\r\n" +
                "QUARRY\\mtanner\tMia Tanner\t3/5/2026 8:12:00\r\n" + "NTCELLAR\\brewer\t\t" + six +
                "\r\n" + "S-1-5-21-9-9-9-1000\tERROR\t" + six + "\r\n");
  // Only the computer and QUARRY's controller are asked, at level 10; the
  // "NT" domains are not even looked up.
  std::vector<std::string> asked;
  for (const auto& call : run.backend().call_log().Calls()) {
    if (call.operation == "NetUserGetInfo" || call.operation == "NetGetDCName") {
      asked.push_back(call.operation + " " + call.host + " " + call.detail);
    }
  }
  EXPECT_EQ(asked, (std::vector<std::string>{"NetUserGetInfo WS01 user=Mandatory level=10",
                                             "NetGetDCName  domain=QUARRY",
                                             "NetUserGetInfo \\\\QHDC01 user=mtanner level=10"}));
  const std::string failure = "Unable to connect to registry on '\\\\NOREG'. Access was denied.";
  EXPECT_EQ(run.Output("Export.log"),
            "3/5/2026 14:07:09\tWS01\tWS01\t\tLOGGEDON\tSUCCESS\t\r\n"
            "3/5/2026 14:07:09\tNOREG\tNOREG\t\tLOGGEDON\tERROR\t" +
                failure + "\r\n");
  EXPECT_EQ(run.ProgressLines()[1], "1|70|WS01|Exporting logged on users...");
  EXPECT_EQ(run.backend().LeakedHandles(), 0u);
}

}  // namespace
}  // namespace tabulon::testing
