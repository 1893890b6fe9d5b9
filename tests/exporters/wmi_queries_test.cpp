// WMI query templates exported end to end: template file and configuration
// in, the template's output file and log out.
#include <gtest/gtest.h>

#include <string>

#include "support/e2e.h"

namespace tabulon::testing {
namespace {

constexpr std::string_view kEstate = R"({
  "computers": [
    {"name": "WS01", "wmi": {"classes": [
      {"name": "Win32_OperatingSystem",
       "properties": {"Caption": "string", "InstallDate": "datetime", "Uptime": "datetime",
                      "Languages": "string[]", "Codes": "uint32[]", "Primary": "boolean",
                      "Memory": "uint64", "Load": "real64", "Build": "uint16",
                      "Notes": "string", "Owner": "object"},
       "instances": [{"Caption": "Windows 11 Pro", "InstallDate": "20240131235959.000000+060",
                      "Uptime": "00000001000000.000000:000", "Languages": ["a", "b"],
                      "Codes": [1, 256], "Primary": true, "Memory": 17179869184,
                      "Load": 0.5, "Build": 22631, "Notes": "one\r\ntwo", "Owner": "Win32_Account"}]},
      {"name": "Win32_LogicalDisk",
       "properties": {"DeviceID": "string", "DriveType": "uint32"},
       "instances": [{"DeviceID": "C:", "DriveType": 3}, {"DeviceID": "D:", "DriveType": 5},
                     {"DeviceID": "E:", "DriveType": 3}]}]}},
    {"name": "SLOW", "wmi": {"classes": [
      {"name": "Win32_LogicalDisk", "properties": {"DeviceID": "string"}, "next_delay_ms": 50,
       "instances": [{"DeviceID": "C:"}]}]}},
    {"name": "FLAKY", "failures": {"WbemNext": {"status": "WBEM_E_TRANSPORT_FAILURE", "after_calls": 1}},
     "wmi": {"classes": [
      {"name": "Win32_LogicalDisk", "properties": {"DeviceID": "string", "DriveType": "uint32"},
       "instances": [{"DeviceID": "C:"}, {"DeviceID": "D:"}]}]}},
    {"name": "DENIED", "failures": {"ConnectServer": "WBEM_E_ACCESS_DENIED"}},
    {"name": "NORPC", "failures": {"ConnectServer": "E_RPC_SERVER_UNAVAILABLE"}}
  ]
})";

struct Case {
  const char* name;
  const char* template_keys;
  const char* target;
  std::string rows;  // after the title row
  std::string log;   // the log line's status and message
};

TEST(WmiQueries, TemplatesOnTargets) {
  const Case cases[] = {
      {"symbols are not sent",
       "OutputColumns=%OBJECT_NAME%,DeviceID,DriveType\nObjectClass=Win32_LogicalDisk\n"
       "Where=DriveType = 3\n",
       "WS01", Row({"WS01", "C:", "3"}) + Row({"WS01", "E:", "3"}), "SUCCESS\t"},
      {"an empty item is sent as it is, and WMI refuses it",
       "OutputColumns=DeviceID,,DriveType\nObjectClass=Win32_LogicalDisk\n", "WS01", "",
       "ERROR\tError executing WMI query on '\\\\WS01'. WMI HRESULT 0x80041017 => Invalid query"},
      {"values by type",
       "OutputColumns=InstallDate,Uptime,Languages,Codes,Primary,Memory,Load,Build,Notes,Owner\n"
       "ObjectClass=Win32_OperatingSystem\n",
       "WS01",
       Row({"01/31/2024 23:59:59", "00000001000000.000000:000", "a^b", "1^256", "TRUE",
            "17179869184", "NO_FORMAT", "22631", "one~~two", "NO_FORMAT"}),
       "SUCCESS\t"},
      {"a slow instance ends the rows quietly",
       "OutputColumns=DeviceID\nObjectClass=Win32_LogicalDisk\nTimeoutSeconds=0\n", "SLOW", "",
       "SUCCESS\t"},
      {"rows before a failing next instance stay",
       "OutputColumns=DeviceID\nObjectClass=Win32_LogicalDisk\n", "FLAKY", Row({"C:"}),
       "SUCCESS\t"},
      {"unknown class", "OutputColumns=DeviceID\nObjectClass=Win32_Nothing\n", "WS01", "",
       "ERROR\tError executing WMI query on '\\\\WS01'. WMI HRESULT 0x80041010 => Invalid class"},
      {"unknown property", "OutputColumns=Nope\nObjectClass=Win32_LogicalDisk\n", "WS01", "",
       "ERROR\tError executing WMI query on '\\\\WS01'. WMI HRESULT 0x80041017 => Invalid query"},
      {"denied", "OutputColumns=DeviceID\nObjectClass=Win32_LogicalDisk\n", "DENIED", "",
       "ERROR\tUnable to connect to WMI on \\\\DENIED. WMI HRESULT 0x80041003 => Access denied"},
      {"unreachable", "OutputColumns=DeviceID\nObjectClass=Win32_LogicalDisk\n", "NORPC", "",
       "ERROR\tUnable to connect to WMI on \\\\NORPC. Win32 HRESULT 0x800706BA => The RPC server "
       "is not available."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EndToEnd run;
    run.SetEstate(kEstate);
    run.SetObjects({{24, c.target, std::string("\\\\") + c.target}});
    run.dir().Write("wmi.cfg", std::string("[Query]\nOutputFileName=wmi.txt\n") + c.template_keys);
    run.SetConfiguration("[General]\nEnableLogging=1\nWmiCfgQueryFile=" +
                         run.dir().File("wmi.cfg") + "\n[Templates]\nWmiTemplates=Query;\n");
    run.Run();
    const std::string output = run.Output("wmi.txt");
    EXPECT_EQ(output.substr(output.find("\r\n") + 2), c.rows);
    EXPECT_EQ(run.Output("Export.log"), std::string("3/5/2026 14:07:09\t") + c.target + "\t" +
                                            c.target + "\t\tWMI - Query\t" + c.log + "\r\n");
    EXPECT_EQ(run.backend().LeakedHandles(), 0u);
  }
}

TEST(WmiQueries, QueryTextNamespaceAndTitles) {
  EndToEnd run;
  run.SetEstate(kEstate);
  run.SetObjects({{24, "WS01", "WS01"}});
  run.dir().Write("wmi.cfg",
                  "[Query]\nOutputFileName=wmi.txt\nOutputColumns=%OBJECT_NAME%,Caption\n"
                  "ObjectClass=Win32_OperatingSystem\nWhere=Primary = TRUE\n");
  run.SetConfiguration("[General]\nWmiCfgQueryFile=" + run.dir().File("wmi.cfg") +
                       "\n[Templates]\nWmiTemplates=Query;\n");
  run.Run();
  EXPECT_EQ(run.Output("wmi.txt"),
            Row({"Object_Name", "Caption"}) + Row({"WS01", "Windows 11 Pro"}));
  EXPECT_EQ(run.Calls("ConnectServer"),
            (std::vector<std::string>{"WS01 object=20480 namespace=root\\CIMV2"}));
  EXPECT_EQ(run.Calls("ExecQuery"),
            (std::vector<std::string>{"WS01 object=20481 flags=0x00000130 WQL SELECT Caption FROM "
                                      "Win32_OperatingSystem WHERE Primary = TRUE"}));
  EXPECT_EQ(run.ProgressLines()[1], "1|92|WS01|Exporting 'Query' from WMI...");
}

}  // namespace
}  // namespace tabulon::testing
