// User rights and account/audit policies exported end to end from small
// estates.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "support/e2e.h"

namespace tabulon::testing {
namespace {

// POL01 grants a few rights to every kind of holder; OLD01 is a Windows
// 2003 computer that knows none of the Vista privileges.
constexpr std::string_view kEstate = R"({
  "domains": [{"name": "QUARRY", "sid": "S-1-5-21-4100-4200-4300",
               "accounts": [{"name": "mtanner", "rid": 1121},
                            {"name": "Brewers", "rid": 1110, "use": "Group"},
                            {"name": "TAPROOM$", "rid": 1300, "use": "Computer"},
                            {"name": "gone", "rid": 1400, "use": "DeletedAccount"}]}],
  "computers": [
    {"name": "POL01", "domain": "QUARRY",
     "rights": {
       "SeNetworkLogonRight": ["S-1-1-0", "S-1-5-32-544", "S-1-5-21-4100-4200-4300-1121",
                               "S-1-5-21-4100-4200-4300-1400", "S-1-5-21-9-9-9-1000"],
       "SeBackupPrivilege": ["S-1-5-32-551"],
       "SeServiceLogonRight": ["S-1-5-21-4100-4200-4300-1300", "S-1-5-21-4100-4200-4300-1110"],
       "SeTcbPrivilege": []},
     "account_policy": {"min_passwd_len": 8, "min_passwd_age": 172800,
                        "force_logoff": 3600, "password_hist_len": 24,
                        "lockout_duration": 1800, "lockout_threshold": 0,
                        "lockout_observation_window": 900},
     "audit_policy": {"enabled": true,
                      "categories": {"system": ["SUCCESS", "FAILURE"], "logon": "FAILURE",
                                     "policy_change": "SUCCESS", "account_logon": 3}}},
    {"name": "OLD01", "server": {"version_major": 5, "version_minor": 2},
     "account_policy": {"max_passwd_age": "FOREVER", "lockout_duration": "FOREVER",
                        "lockout_threshold": 5},
     "audit_policy": {"category_count": 7,
                      "categories": {"system": "SUCCESS", "object_access": "NONE"}}},
    {"name": "LOCKED", "failures": {"LsaOpenPolicy": "ERROR_ACCESS_DENIED"}},
    {"name": "NOMODALS", "failures": {"NetUserModalsGet": "ERROR_ACCESS_DENIED"}},
    {"name": "NOLOCKOUT", "failures": {"NetUserModalsGet": {"status": "ERROR_ACCESS_DENIED",
                                                             "after_calls": 1}}},
    {"name": "NOAUDIT", "failures": {"LsaQueryInformationPolicy": "ERROR_ACCESS_DENIED"}},
    {"name": "HALFRIGHTS", "failures": {"LsaEnumerateAccountsWithUserRight":
                                            {"status": "ERROR_ACCESS_DENIED", "after_calls": 44},
                                        "LookupPrivilegeDisplayName": "ERROR_ACCESS_DENIED"}}
  ]
})";

constexpr std::string_view kStamp = "3/5/2026 14:07:09\t";
constexpr std::string_view kNoSuchPrivilege = "ERROR: -1073741728";
// The text of STATUS_ACCESS_DENIED, which a failed LSA call appends: an
// NTSTATUS has no Windows message, so it is its own.
constexpr std::string_view kAccessDenied = "Access to the object was requested but not granted.";

class RightsAndPolicies : public ::testing::Test {
 protected:
  void SetUp() override { run_.SetEstate(kEstate); }
  void TearDown() override {
    EXPECT_EQ(run_.backend().LeakedHandles(), 0u)
        << ::testing::PrintToString(run_.backend().DescribeLeakedHandles());
  }
  // The rows of one right, title row left out.
  std::vector<std::string> RowsOf(std::string_view right) {
    std::vector<std::string> rows;
    const std::string text = run_.Output("rights.txt");
    std::size_t at = text.find("\r\n") + 2;
    while (at < text.size()) {
      const std::size_t end = text.find("\r\n", at);
      const std::string row = text.substr(at, end - at);
      if (row.starts_with(std::string(right) + "\t")) rows.push_back(row);
      at = end + 2;
    }
    return rows;
  }
  EndToEnd run_;
};

TEST_F(RightsAndPolicies, EveryKindOfHolder) {
  run_.SetObjects({{24, "POL01", "\\\\POL01"}});
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\n[Security]\nExportRights=1\nRightsColumns=0,1,2,3\n");
  run_.Run();
  // A logon right has no display name; deleted accounts give no row, an
  // unresolved SID "ERROR", a well-known group its bare name.
  EXPECT_EQ(RowsOf("SeNetworkLogonRight"),
            (std::vector<std::string>{
                "SeNetworkLogonRight\tSeNetworkLogonRight\tEveryone\tWELL-KNOWN",
                "SeNetworkLogonRight\tSeNetworkLogonRight\tBUILTIN\\Administrators\tALIAS",
                "SeNetworkLogonRight\tSeNetworkLogonRight\tQUARRY\\mtanner\tUSER",
                "SeNetworkLogonRight\tSeNetworkLogonRight\tERROR\tERROR",
            }));
  EXPECT_EQ(RowsOf("SeBackupPrivilege"),
            (std::vector<std::string>{"SeBackupPrivilege\tBack up files and directories\t"
                                      "BUILTIN\\Backup Operators\tALIAS"}));
  EXPECT_EQ(RowsOf("SeServiceLogonRight"),
            (std::vector<std::string>{
                "SeServiceLogonRight\tSeServiceLogonRight\tQUARRY\\TAPROOM$\tCOMPUTER",
                "SeServiceLogonRight\tSeServiceLogonRight\tQUARRY\\Brewers\tGROUP",
            }));
  // Nobody: one row without a type; a privilege no LSA grants: its status.
  EXPECT_EQ(RowsOf("SeTcbPrivilege"),
            (std::vector<std::string>{"SeTcbPrivilege\tAct as part of the operating system\t"
                                      "(None)\t"}));
  EXPECT_EQ(RowsOf("SeUnsolicitedInputPrivilege"),
            (std::vector<std::string>{"SeUnsolicitedInputPrivilege\tSeUnsolicitedInputPrivilege\t" +
                                      std::string(kNoSuchPrivilege) + "\t"}));

  // 45 rights in order: 4 + 1 + 2 holders and a row each for the other 42.
  const std::string text = run_.Output("rights.txt");
  EXPECT_TRUE(
      text.starts_with("RightName\tRightDesc\tRightTrustee\tRightTrusteeType\r\n"
                       "SeNetworkLogonRight\t"));
  EXPECT_TRUE(
      text.ends_with("SeTrustedCredManAccessPrivilege\tAccess Credential Manager as a trusted "
                     "caller\t(None)\t\r\n"));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 4 + 1 + 2 + 42);
  EXPECT_EQ(run_.Output("Export.log"),
            std::string(kStamp) + "POL01\tPOL01\t\tRIGHTS\tSUCCESS\t\r\n");
}

TEST_F(RightsAndPolicies, PolicyAccessAndLookupCalls) {
  run_.SetObjects({{24, "POL01", "\\\\POL01"}});
  run_.SetConfiguration("[Security]\nExportRights=1\n[Policy]\nExportPolicies=1\n");
  run_.Run();
  std::vector<std::string> calls;
  for (const auto& call : run_.backend().call_log().Calls()) {
    if (call.operation == "LsaOpenPolicy" || call.operation == "LsaQueryInformationPolicy" ||
        (call.operation == "LookupPrivilegeDisplayName" && calls.size() < 2)) {
      calls.push_back(call.operation + " " + call.host + " " + call.detail);
    }
  }
  EXPECT_EQ(calls, (std::vector<std::string>{
                       "LsaOpenPolicy \\\\POL01 access=0xA0000801",
                       "LookupPrivilegeDisplayName \\\\POL01 name=SeNetworkLogonRight size=256",
                       "LsaOpenPolicy \\\\POL01 access=0x00000102",
                       "LsaQueryInformationPolicy \\\\POL01 class=2",
                   }));
}

TEST_F(RightsAndPolicies, FailuresOfTheRightsExport) {
  run_.SetObjects({{24, "LOCKED", "\\\\LOCKED"},
                   {24, "HALFRIGHTS", "\\\\HALFRIGHTS"},
                   {24, "OLD01", "\\\\OLD01"}});
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\n[Security]\nExportRights=1\nRightsColumns=0,1,2\n");
  run_.Run();
  // LOCKED: no rows. HALFRIGHTS: names instead of display names, and the
  // last right cannot be enumerated. OLD01: the Vista privileges are
  // unknown there.
  const std::string text = run_.Output("rights.txt");
  EXPECT_NE(text.find("SeTcbPrivilege\tSeTcbPrivilege\t(None)\r\n"), std::string::npos);
  EXPECT_NE(text.find("SeTrustedCredManAccessPrivilege\tSeTrustedCredManAccessPrivilege\t"
                      "ERROR: -1073741790\r\n"),
            std::string::npos);
  EXPECT_TRUE(text.ends_with("SeCreateSymbolicLinkPrivilege\tSeCreateSymbolicLinkPrivilege\t" +
                             std::string(kNoSuchPrivilege) +
                             "\r\n"
                             "SeRelabelPrivilege\tSeRelabelPrivilege\t" +
                             std::string(kNoSuchPrivilege) +
                             "\r\n"
                             "SeTrustedCredManAccessPrivilege\tSeTrustedCredManAccessPrivilege\t" +
                             std::string(kNoSuchPrivilege) + "\r\n"));
  EXPECT_NE(text.find("SeManageVolumePrivilege\tPerform volume maintenance tasks\t(None)\r\n"),
            std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 45 + 45);
  const std::string failure =
      "Unable to open policy on computer '\\\\LOCKED'. " + std::string(kAccessDenied);
  EXPECT_EQ(run_.Output("Export.log"),
            std::string(kStamp) + "LOCKED\tLOCKED\t\tRIGHTS\tERROR\t" + failure + "\r\n" +
                std::string(kStamp) + "HALFRIGHTS\tHALFRIGHTS\t\tRIGHTS\tSUCCESS\t\r\n" +
                std::string(kStamp) + "OLD01\tOLD01\t\tRIGHTS\tSUCCESS\t\r\n");
  EXPECT_EQ(run_.ProgressLines()[1], "1|88|LOCKED|Exporting rights..." + failure);
}

TEST_F(RightsAndPolicies, PolicyRows) {
  run_.SetObjects(
      {{24, "POL01", "\\\\POL01"}, {24, "OLD01", "\\\\OLD01"}, {24, "DEFAULTS", "\\\\NOAUDIT"}});
  run_.SetConfiguration("[General]\nEnableLogging=1\n[Policy]\nExportPolicies=1\n");
  run_.Run();
  const std::string title =
      "Object_Path\tPolicyMinPwdLen\tPolicyMaxPwdAge\tPolicyMinPwdAge\tPolicyForceLogoff\t"
      "PolicyPwdHistoryLen\tPolicyLockoutDuration\tPolicyLockoutLogonAttempts\t"
      "PolicyLockoutReset\tPolicyAuditEnabled\tPolicyAuditSystemSuccess\t"
      "PolicyAuditSystemFailure\tPolicyAuditLogonSuccess\tPolicyAuditLogonFailure\t"
      "PolicyAuditObjAccessSuccess\tPolicyAuditObjAccessFailure\tPolicyAuditPrivUseSuccess\t"
      "PolicyAuditPrivUseFailure\tPolicyAuditTrackingSuccess\tPolicyAuditTrackingFailure\t"
      "PolicyAuditChangeSuccess\tPolicyAuditChangeFailure\tPolicyAuditAcctMgtSuccess\t"
      "PolicyAuditAcctMgtFailure\tPolicyAuditDirAccessSuccess\tPolicyAuditDirAccessFailure\t"
      "PolicyAuditKerberosLogonSuccess\tPolicyAuditKerberosLogonFailure\r\n";
  EXPECT_EQ(run_.Output("policy.txt"),
            title +
                // Windows' default 42 days; logon failures only.
                Row({"\\\\POL01", "8",    "42", "2",    "3600", "24", "30",   "0",   "15", "TRUE",
                     "TRUE",      "TRUE", "",   "TRUE", "",     "",   "",     "",    "",   "",
                     "TRUE",      "",     "",   "",     "",     "",   "TRUE", "TRUE"}) +
                // Seven categories reported: the last two stay empty.
                Row({"\\\\OLD01",
                     "0",
                     "NEVER_EXPIRES",
                     "0",
                     "NEVER_FORCE",
                     "0",
                     "FOREVER",
                     "5",
                     "30",
                     "FALSE",
                     "TRUE",
                     "",
                     "",
                     "",
                     "",
                     "",
                     "",
                     "",
                     "",
                     "",
                     "",
                     "",
                     "",
                     "",
                     "",
                     "",
                     "",
                     ""}));
  EXPECT_EQ(run_.Output("Export.log"),
            std::string(kStamp) + "POL01\tPOL01\t\tPOLICIES\tSUCCESS\t\r\n" + std::string(kStamp) +
                "OLD01\tOLD01\t\tPOLICIES\tSUCCESS\t\r\n" + std::string(kStamp) +
                "DEFAULTS\tNOAUDIT\t\tPOLICIES\tERROR\t"
                "Unable to get policy information from '\\\\NOAUDIT'. " +
                std::string(kAccessDenied) + "\r\n");
}

// The account-policy fields and the audit fields fail apart: without the
// account database the row has empty account fields; without the LSA there
// is no row at all.
TEST_F(RightsAndPolicies, PolicyFailures) {
  run_.SetObjects({{24, "NOMODALS", "\\\\NOMODALS"},
                   {24, "NOLOCKOUT", "\\\\NOLOCKOUT"},
                   {24, "LOCKED", "\\\\LOCKED"}});
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\n[Policy]\nExportPolicies=1\nPoliciesColumns=0,1,5,8,9\n");
  run_.Run(false);
  EXPECT_EQ(run_.Output("policy.txt"),
            "PolicyMinPwdLen\tPolicyMaxPwdAge\tPolicyLockoutDuration\tPolicyAuditEnabled\t"
            "PolicyAuditSystemSuccess\r\n"
            "\t\t\tFALSE\t\r\n"
            "0\t42\t\tFALSE\t\r\n");
  const std::string modals = "Unable to retrieve account policy information on '\\\\";
  EXPECT_EQ(run_.Output("Export.log"), std::string(kStamp) +
                                           "NOMODALS\tNOMODALS\t\tPOLICIES\tERROR\t" + modals +
                                           "NOMODALS'. \r\n" + std::string(kStamp) +
                                           "NOLOCKOUT\tNOLOCKOUT\t\tPOLICIES\tERROR\t" + modals +
                                           "NOLOCKOUT'. \r\n" + std::string(kStamp) +
                                           "LOCKED\tLOCKED\t\tPOLICIES\tERROR\t"
                                           "Unable to open policy on computer '\\\\LOCKED'. " +
                                           std::string(kAccessDenied) + "\r\n");
}

}  // namespace
}  // namespace tabulon::testing
