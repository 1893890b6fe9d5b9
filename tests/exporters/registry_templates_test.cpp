// Registry templates exported end to end: template file, configuration and
// a computer's registry in, the template's output file, the log and the
// security access rows out.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "support/e2e.h"

namespace tabulon::testing {
namespace {

constexpr std::string_view kRegistryText = R"(Windows Registry Editor Version 5.00
[HKEY_LOCAL_MACHINE\SOFTWARE\Uninstall]
"Stray"="not a program"
[HKEY_LOCAL_MACHINE\SOFTWARE\Uninstall\App1]
"DisplayName"="Alpha"
"DisplayVersion"="1.0"
"InstallDate"="20190312"
[HKEY_LOCAL_MACHINE\SOFTWARE\Uninstall\App2]
"DisplayName"="Beta"
[HKEY_LOCAL_MACHINE\SOFTWARE\Uninstall\App2\Patch]
"DisplayName"="Beta patch"
[HKEY_LOCAL_MACHINE\SOFTWARE\Run]
@="default"
"Text"="plain"
"Expand"=hex(2):25,00,41,00,25,00,00,00
"Bin"=hex:0a,ff
"Neg"=dword:ffffffff
"Multi"=hex(7):61,00,00,00,62,00,00,00,00,00
"Big"=hex(5):00,00,00,01
"Q"=hex(b):01,00,00,00,00,00,00,00
"Empty"=hex:
[HKEY_LOCAL_MACHINE\SOFTWARE\Blank]
"Nothing"=hex:
[HKEY_LOCAL_MACHINE\SOFTWARE\VendorA\Setup]
"Path"="a"
[HKEY_LOCAL_MACHINE\SOFTWARE\VendorB\Setup]
"Path"="b"
[HKEY_LOCAL_MACHINE\SOFTWARE\Other\Setup]
"Path"="o"
[HKEY_LOCAL_MACHINE\SOFTWARE\A,Bee]
"Path"="comma"
[HKEY_LOCAL_MACHINE\SOFTWARE\Denied]
[HKEY_LOCAL_MACHINE\SOFTWARE\Unreadable]
"Path"="hidden"
)";

std::string JsonQuoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '\n') {
      quoted += "\\n";
    } else {
      if (c == '\\' || c == '"') quoted += '\\';
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string Estate() {
  return R"({"computers": [{"name": "WS01", "registry": {"text": )" + JsonQuoted(kRegistryText) +
         R"json(, "failures": {"HKLM\\SOFTWARE\\Denied": {"RegOpenKey": "ERROR_ACCESS_DENIED"},
                           "HKLM\\SOFTWARE\\Unreadable": {"RegQueryValue": "ERROR_ACCESS_DENIED"}}},
  "object_security": [{"registry": "MACHINE\\SOFTWARE\\VendorA\\Setup", "security": "D:(A;;0x1;;;BA)"}]
}]
})json";
}

struct Case {
  const char* name;
  const char* columns;
  const char* keys;
  std::string rows;  // after the title row
  std::string log;   // the log line's status and message
};

TEST(RegistryTemplates, KeysValuesAndFailures) {
  const Case cases[] = {
      {"one row per subkey, not for the key itself; an empty column stays",
       "DisplayName,,DisplayVersion,InstallDate", "HKLM\\SOFTWARE\\Uninstall\\*",
       Row({"Alpha", "", "1.0", "2019/03/12"}) + Row({"Beta", "", "", ""}), "SUCCESS\t"},
      {"every depth, each key before its subkeys", "%KEY_PATH%,%KEY_NAME%,DisplayName",
       "HKLM\\SOFTWARE\\Uninstall\\**",
       Row({"SOFTWARE\\Uninstall\\App1", "App1", "Alpha"}) +
           Row({"SOFTWARE\\Uninstall\\App2", "App2", "Beta"}) +
           Row({"SOFTWARE\\Uninstall\\App2\\Patch", "Patch", "Beta patch"}),
       "SUCCESS\t"},
      {"one row per value, by type", "%KEY_NAME%,%value_name%,%VALUE%,%VALUE_DATA_TYPE%,Text",
       "HKLM\\SOFTWARE\\Run",
       Row({"Run", "(default)", "default", "REG_SZ", ""}) +
           Row({"Run", "Text", "plain", "REG_SZ", ""}) +
           Row({"Run", "Expand", "%A%", "REG_EXPAND_SZ", ""}) +
           Row({"Run", "Bin", "0aff", "REG_BINARY", ""}) +
           Row({"Run", "Neg", "-1", "REG_DWORD", ""}) +
           Row({"Run", "Multi", "a^b^", "REG_MULTI_SZ", ""}) +
           Row({"Run", "Big", "NO_FORMAT", "REG_OTHER", ""}) +
           Row({"Run", "Q", "NO_FORMAT", "REG_OTHER", ""}) + Row({"Run", "Empty", "", "", ""}),
       "SUCCESS\t"},
      {"values with empty data only give no value rows", "%VALUE_NAME%", "HKLM\\SOFTWARE\\Blank",
       "", "SUCCESS\t"},
      {"but a key row", "%KEY_NAME%,Nothing", "HKLM\\SOFTWARE\\Blank", Row({"Blank", ""}),
       "SUCCESS\t"},
      {"a mid-path wildcard matches the beginning of a name", "%KEY_PATH%,Path",
       "HKLMx64\\SOFTWARE\\vendor*\\Setup",
       Row({"SOFTWARE\\VendorA\\Setup", "a"}) + Row({"SOFTWARE\\VendorB\\Setup", "b"}),
       "SUCCESS\t"},
      {"a comma not followed by HK stays in the name; lower-case hklm is the current user's",
       "Path", "HKLM\\SOFTWARE\\A,Bee,hklm\\SOFTWARE\\A,Bee,HKLM\\SOFTWARE\\VendorB\\Setup,,",
       Row({"comma"}),
       "ERROR\tUnable to connect to registry on '\\\\WS01'. The handle is not valid."},
      {"a missing key listed directly fails, the next entry still runs", "Path",
       "HKLM\\SOFTWARE\\Nope,HKLM\\SOFTWARE\\VendorA\\Setup", Row({"a"}),
       "ERROR\tUnable to open registry software key on '\\\\WS01'.  "},
      {"a missing key below a subkey suffix is no failure", "Path", "HKLM\\SOFTWARE\\Nope\\*", "",
       "SUCCESS\t"},
      {"a denied key, last", "Path", "HKLM\\SOFTWARE\\VendorA\\Setup,HKLM\\SOFTWARE\\Denied",
       Row({"a"}),
       "ERROR\tUnable to open registry software key on '\\\\WS01'.  Access was denied."},
      {"an unreadable value leaves its cell empty and fails the template", "%KEY_NAME%,Path",
       "HKLM\\SOFTWARE\\Unreadable", Row({"Unreadable", ""}), "ERROR\tAccess was denied."},
      {"a wildcard below a missing key", "Path", "HKLM\\SOFTWARE\\Nope\\Vendor*\\Setup", "",
       "ERROR\tError searching registry key 'HKLM\\SOFTWARE\\Nope\\Vendor*\\Setup'. The file could "
       "not be found."},
      {"key symbols", "%TEMPLATE_NAME%,%OBJECT_NAME%,%LAST_KEY_WRITE_TIME%",
       "HKLM\\SOFTWARE\\VendorA\\Setup", Row({"Keys", "WS01", "1/1/2020 0:00:00"}), "SUCCESS\t"},
      {"no keys", "Path", "", "", "SUCCESS\t"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EndToEnd run;
    run.SetEstate(Estate());
    run.SetObjects({{24, "WS01", "\\\\WS01"}});
    run.dir().Write("reg.cfg", std::string("[Keys]\nOutputFileName=reg.txt\nOutputColumns=") +
                                   c.columns + "\nOutputKeys=" + c.keys + "\n");
    run.SetConfiguration("[General]\nEnableLogging=1\nRegistryCfgFile=" +
                         run.dir().File("reg.cfg") + "\n[Templates]\nRegistryTemplates=Keys;\n");
    run.Run();
    const std::string output = run.Output("reg.txt");
    EXPECT_EQ(output.substr(output.find("\r\n") + 2), c.rows);
    EXPECT_EQ(run.Output("Export.log"),
              "3/5/2026 14:07:09\tWS01\tWS01\t\tREGISTRY - Keys\t" + c.log + "\r\n");
    EXPECT_EQ(run.backend().LeakedHandles(), 0u);
  }
}

// The first Ctrl-C ends a registry walk at its next key; the log says the
// template was cut short, and no further template runs.
TEST(RegistryTemplates, TheStopRequestEndsTheWalk) {
  EndToEnd run;
  run.SetEstate(Estate());
  run.SetObjects({{24, "WS01", "\\\\WS01"}});
  run.dir().Write("reg.cfg",
                  "[Keys]\nOutputFileName=reg.txt\nOutputColumns=%KEY_PATH%\n"
                  "OutputKeys=HKLM\\SOFTWARE\\Uninstall\\**\n"
                  "[More]\nOutputFileName=more.txt\nOutputColumns=%KEY_PATH%\n"
                  "OutputKeys=HKLM\\SOFTWARE\\Uninstall\\**\n");
  run.SetConfiguration("[General]\nEnableLogging=1\nRegistryCfgFile=" + run.dir().File("reg.cfg") +
                       "\n[Templates]\nRegistryTemplates=Keys;More;\n");
  run.observer().on_row = [&run](const ProgressRow& row) {
    if (row.status == "Exporting 'Keys' from registry...") run.control().RequestStop();
  };
  run.Run();
  EXPECT_EQ(run.Output("reg.txt"), Row({"Registry_Key_Path"}));
  EXPECT_EQ(run.Output("more.txt"), Row({"Registry_Key_Path"}));
  EXPECT_EQ(run.Output("Export.log"),
            "3/5/2026 14:07:09\tWS01\tWS01\t\tREGISTRY - Keys\tERROR\tExport Aborted By User.\r\n");
}

TEST(RegistryTemplates, TitlesProgressAndSecurityHandOver) {
  EndToEnd run;
  run.SetEstate(Estate());
  run.SetObjects({{24, "WS01", "\\\\WS01"}});
  run.dir().Write("reg.cfg",
                  "[Keys]\nOutputFileName=reg.txt\nOutputColumns=%KEY_PATH%,%VALUE%,Path\n"
                  "OutputKeys=HKLMx64\\SOFTWARE\\Vendor*\\Setup\n");
  run.SetConfiguration("[General]\nRegistryCfgFile=" + run.dir().File("reg.cfg") +
                       "\n[Templates]\nRegistryTemplates=Keys;\n[Security]\nExportSecurity=1\n"
                       "ExportRegistrySecurity=1\n");
  run.Run();
  EXPECT_EQ(run.Output("reg.txt"), Row({"Registry_Key_Path", "Registry_Data", "Path"}) +
                                       Row({"SOFTWARE\\VendorA\\Setup", "a", ""}) +
                                       Row({"SOFTWARE\\VendorB\\Setup", "b", ""}));
  EXPECT_EQ(run.ProgressLines()[1], "1|70|WS01|Exporting 'Keys' from registry...");
  // The 64-bit view reaches the wildcard's parent and every key it found.
  EXPECT_EQ(run.Calls("RegOpenKey"),
            (std::vector<std::string>{
                "\\\\WS01 path=HKEY_LOCAL_MACHINE\\SOFTWARE access=0x00020119",
                "\\\\WS01 path=HKEY_LOCAL_MACHINE\\SOFTWARE\\VendorA\\Setup access=0x00000101",
                "\\\\WS01 path=HKEY_LOCAL_MACHINE\\SOFTWARE\\VendorB\\Setup access=0x00000101"}));
  const std::string security = run.Output("security.txt");
  // The default descriptor's inherit-only generic entry names no right.
  const std::string a =
      "\\\\WS01\tSOFTWARE\\VendorA\\Setup\t\\\\WS01\\MACHINE\\SOFTWARE\\VendorA\\Setup";
  const std::string b =
      "\\\\WS01\tSOFTWARE\\VendorB\\Setup\t\\\\WS01\\MACHINE\\SOFTWARE\\VendorB\\Setup";
  EXPECT_EQ(security.substr(security.find("\r\n") + 2),
            a + "\tREGISTRY\tBUILTIN\\Administrators\tQUERY_VALUE^READ\t\tALLOW\t\t\r\n" + b +
                "\tREGISTRY\tBUILTIN\\Users\tQUERY_VALUE^ENUM_KEYS^NOTIFY^READ\t\tALLOW\t\t\r\n" +
                b + "\tREGISTRY\tBUILTIN\\Administrators\tFULL_CONTROL\t\tALLOW\t\t\r\n" + b +
                "\tREGISTRY\tNT AUTHORITY\\SYSTEM\tFULL_CONTROL\t\tALLOW\t\t\r\n");
}

}  // namespace
}  // namespace tabulon::testing
