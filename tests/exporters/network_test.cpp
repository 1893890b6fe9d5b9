// Network settings exported end to end from estate registries in both
// layouts: the Windows 2000 and later one and the older one.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/text.h"
#include "support/e2e.h"

namespace tabulon::testing {
namespace {

// A .reg data item of type hex(7) holding `items`, each ended by a NUL,
// and the closing NUL: UTF-16 as version 5 files hold it, 8-bit text in
// REGEDIT4 files.
std::string HexList(std::initializer_list<std::string_view> items, bool wide) {
  std::string bytes;
  for (std::string_view item : items) {
    bytes += wide ? text::Utf8ToUtf16Le(item) + std::string(2, '\0') : std::string(item) + '\0';
  }
  bytes += wide ? std::string(2, '\0') : std::string(1, '\0');
  std::string out = "hex(7):";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(bytes[i]));
    out += (i > 0 ? "," : "") + std::string(hex);
  }
  return out;
}

std::string MultiSz(std::initializer_list<std::string_view> items) {
  return HexList(items, true);
}

std::string MultiSz4(std::initializer_list<std::string_view> items) {
  return HexList(items, false);
}

constexpr std::string_view kCards =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\";
constexpr std::string_view kServices = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\";

std::string ModernRegistry() {
  const std::string cards(kCards);
  const std::string services(kServices);
  return "Windows Registry Editor Version 5.00\n\n" + services +
         "NetBT\\Parameters]\n"
         "\"EnableDNS\"=dword:00000000\n"
         "\"EnableLMHOSTS\"=dword:00000001\n"
         "\"ScopeId\"=\"corp\"\n\n" +
         services +
         "Tcpip\\Parameters]\n"
         "\"HostName\"=\"modern01\"\n"
         "\"Domain\"=\"quarry.example\"\n"
         "\"SearchList\"=\"quarry.example,branch.quarry.example lab.example\"\n"
         "\"NameServer\"=\"198.51.100.99\"\n\n" +
         cards + "2]\n\"Description\"=\"Intel(R) Ethernet DHCP\"\n\"ServiceName\"=\"{AAAA}\"\n" +
         cards + "3]\n\"Description\"=\"Hidden miniport\"\n\"ServiceName\"=\"{HHHH}\"\n" +
         "\"Hidden\"=dword:00000001\n" + cards +
         "4]\n\"Description\"=\"Broadcom static\"\n\"ServiceName\"=\"{BBBB}\"\n" + cards +
         "5]\n\"ServiceName\"=\"{NODESC}\"\n" + cards +
         "6]\n\"Description\"=\"Card without service\"\n" + cards +
         "7]\n\"Description\"=\"Oversized address\"\n\"ServiceName\"=\"{CCCC}\"\n\n" + services +
         "NetBT\\Parameters\\Interfaces\\Tcpip_{AAAA}]\n"
         "\"DhcpNameServerList\"=" +
         MultiSz({"192.0.2.5"}) + "\n" + services +
         "NetBT\\Parameters\\Interfaces\\Tcpip_{BBBB}]\n"
         "\"DhcpNameServerList\"=" +
         MultiSz({"192.0.2.6"}) +
         "\n\"NameServerList\"=" + MultiSz({"192.0.2.7", "", "192.0.2.8"}) + "\n" + services +
         "Tcpip\\Parameters\\Interfaces\\{AAAA}]\n"
         "\"EnableDHCP\"=dword:00000001\n"
         "\"DhcpServer\"=\"192.0.2.1\"\n"
         "\"DhcpNameServer\"=\"192.0.2.53 192.0.2.54\"\n"
         "\"DhcpDefaultGateway\"=" +
         MultiSz({"192.0.2.254"}) +
         "\n"
         "\"DhcpIPAddress\"=\"192.0.2.100\"\n"
         "\"DhcpSubnetMask\"=\"255.255.255.0\"\n"
         "\"IPAddress\"=" +
         MultiSz({"0.0.0.0"}) + "\n\"SubnetMask\"=" + MultiSz({"0.0.0.0"}) + "\n" + services +
         "Tcpip\\Parameters\\Interfaces\\{BBBB}]\n"
         "\"EnableDHCP\"=dword:00000000\n"
         "\"NameServer\"=\"192.0.2.53,192.0.2.54\"\n"
         "\"DefaultGateway\"=" +
         MultiSz({"192.0.2.1"}) + "\n\"IPAddress\"=" + MultiSz({"192.0.2.10", "192.0.2.11"}) +
         "\n\"SubnetMask\"=" + MultiSz({"255.255.255.0", "255.255.0.0"}) + "\n" + services +
         "Tcpip\\Parameters\\Interfaces\\{CCCC}]\n"
         "\"EnableDHCP\"=dword:00000001\n"
         "\"DhcpServer\"=\"192.0.2.1\"\n"
         "\"DhcpIPAddress\"=\"" +
         std::string(128, '9') +
         "\"\n"
         "\"DhcpSubnetMask\"=\"255.255.255.0\"\n";
}

std::string OldRegistry() {
  const std::string cards(kCards);
  const std::string services(kServices);
  return "REGEDIT4\n\n" + services +
         "NetBT\\Parameters]\n\"EnableDNS\"=dword:00000001\n\"EnableLMHOSTS\"=dword:00000000\n" +
         services +
         "Tcpip\\Parameters]\n"
         "\"HostName\"=\"oldnt\"\n"
         "\"Domain\"=\"cellar.example\"\n"
         "\"DhcpNameServer\"=\"10.9.9.9\"\n"
         "\"NameServer\"=\"10.0.0.1 10.0.0.2\"\n" +
         cards + "1]\n\"Description\"=\"3Com EtherLink III\"\n\"ServiceName\"=\"El59x1\"\n" +
         cards + "2]\n\"Description\"=\"NE2000 Compatible\"\n\"ServiceName\"=\"NE20001\"\n" +
         services +
         "NetBT\\Adapters\\El59x1]\n"
         "\"DhcpNameServer\"=\"10.0.0.5\"\n"
         "\"NameServer\"=\"10.0.0.6\"\n"
         "\"NameServerBackup\"=\"10.0.0.7\"\n"
         "\"DhcpNameServerBackup\"=\"10.0.0.8\"\n" +
         services +
         "El59x1\\Parameters\\Tcpip]\n"
         "\"EnableDHCP\"=dword:00000000\n"
         "\"NameServer\"=\"10.0.0.99\"\n"
         "\"IPAddress\"=" +
         MultiSz4({"10.0.0.20"}) + "\n\"SubnetMask\"=" + MultiSz4({"255.0.0.0"}) +
         "\n\"DefaultGateway\"=" + MultiSz4({"10.0.0.254"}) + "\n" + services +
         "NetBT\\Adapters\\NE20001]\n"
         "\"DhcpNameServer\"=\"10.1.1.2\"\n"
         "\"DhcpNameServerBackup\"=\"10.1.1.3\"\n" +
         services +
         "NE20001\\Parameters\\Tcpip]\n"
         "\"EnableDHCP\"=dword:00000001\n"
         "\"DhcpServer\"=\"10.1.1.1\"\n"
         "\"DhcpNameServer\"=\"10.1.1.1\"\n"
         "\"DhcpDefaultGateway\"=" +
         MultiSz4({"10.1.1.254"}) +
         "\n"
         "\"DhcpIPAddress\"=\"10.1.1.50\"\n"
         "\"DhcpSubnetMask\"=\"255.255.255.0\"\n"
         "\"IPAddress\"=" +
         MultiSz4({"0.0.0.0"}) + "\n";
}

class Network : public ::testing::Test {
 protected:
  void SetUp() override {
    run_.dir().Write("modern.reg", ModernRegistry());
    run_.dir().Write("old.reg", OldRegistry());
    run_.dir().Write("locked.reg",
                     std::string("Windows Registry Editor Version 5.00\n") +
                         std::string(kServices) +
                         "NetBT\\Parameters]\n\"EnableLMHOSTS\"=dword:00000001\n" +
                         std::string(kServices) + "Tcpip\\Parameters]\n\"HostName\"=\"locked\"\n" +
                         std::string(kCards) + "1]\n\"Description\"=\"Locked card\"\n");
    run_.SetEstate(R"({"computers": [
      {"name": "MODERN", "registry": {"files": ")" +
                   run_.dir().File("modern.reg") + R"("}},
      {"name": "OLDNT", "server": {"version_major": 4},
       "registry": {"files": ")" +
                   run_.dir().File("old.reg") + R"("}},
      {"name": "NOREG", "failures": {"RegConnectRegistry": "ERROR_ACCESS_DENIED"}},
      {"name": "EMPTY"},
      {"name": "LOCKED", "registry": {"files": [")" +
                   run_.dir().File("locked.reg") + R"("], "failures": {
         "HKLM\\SYSTEM\\CurrentControlSet\\Services\\NetBT\\Parameters":
           {"RegOpenKey": "ERROR_ACCESS_DENIED"}}}}
    ]})");
  }
  EndToEnd run_;
};

TEST_F(Network, BothLayoutsByteForByte) {
  run_.SetObjects({{24, "MODERN", "\\\\MODERN"}, {24, "OLDNT", "\\\\OLDNT"}});
  run_.SetConfiguration("[General]\nEnableLogging=1\n[Network]\nExportNetwork=1\n");
  run_.Run();
  const std::string computer_wide =
      "YES\tYES\tcorp\tmodern01\tquarry.example\t"
      "quarry.example^branch.quarry.example^lab.example";
  EXPECT_EQ(run_.Output("networks.txt"),
            Row({"Object_Path", "EnableDNS",  "EnableLmhosts", "ScopeId",     "HostName",
                 "DomainName",  "SuffixList", "DNS_DHCP",      "DNS",         "NicName",
                 "WINS_DHCP",   "WINS",       "DHCPServer",    "Gateway",     "Gateway_DHCP",
                 "IP",          "IP_DHCP",    "SubnetMasks",   "Subnet_DHCP", "DHCP"}) +
                Row({"\\\\MODERN", computer_wide, "DHCP", "192.0.2.53^192.0.2.54",
                     "Intel(R) Ethernet DHCP", "DHCP", "192.0.2.5", "192.0.2.1", "192.0.2.254",
                     "DHCP", "192.0.2.100", "DHCP", "255.255.255.0", "DHCP", "YES"}) +
                Row({"\\\\MODERN", computer_wide, "", "192.0.2.53^192.0.2.54", "Broadcom static",
                     "", "192.0.2.7^192.0.2.8", "", "192.0.2.1", "", "192.0.2.10^192.0.2.11", "",
                     "255.255.255.0^255.255.0.0", "", ""}) +
                Row({"\\\\MODERN", computer_wide, "", "", "Card without service", "", "", "", "",
                     "", "", "", "", "", ""}) +
                Row({"\\\\MODERN", computer_wide, "", "", "Oversized address", "", "", "192.0.2.1",
                     "", "", "", "", "", "", "YES"}) +
                Row({"\\\\OLDNT",
                     "YES",
                     "NO",
                     "",
                     "oldnt",
                     "cellar.example",
                     "",
                     "",
                     "10.0.0.1^10.0.0.2",
                     "3Com EtherLink III",
                     "",
                     "10.0.0.6^10.0.0.7",
                     "",
                     "10.0.0.254",
                     "",
                     "10.0.0.20",
                     "",
                     "255.0.0.0",
                     "",
                     ""}) +
                Row({"\\\\OLDNT", "YES",
                     "NO",        "",
                     "oldnt",     "cellar.example",
                     "",          "DHCP",
                     "10.1.1.1",  "NE2000 Compatible",
                     "DHCP",      "10.1.1.2^10.1.1.3",
                     "10.1.1.1",  "10.1.1.254",
                     "DHCP",      "10.1.1.50",
                     "DHCP",      "255.255.255.0",
                     "DHCP",      "YES"}));
  EXPECT_EQ(run_.Output("Export.log"),
            "3/5/2026 14:07:09\tMODERN\tMODERN\t\tNETWORK\tSUCCESS\t\r\n"
            "3/5/2026 14:07:09\tOLDNT\tOLDNT\t\tNETWORK\tSUCCESS\t\r\n");
  EXPECT_EQ(run_.ProgressLines(), (std::vector<std::string>{
                                      "0|7|MODERN|Exporting...",
                                      "1|30|MODERN|Exporting Network (TCP/IP) Information...",
                                      "0|7|OLDNT|Exporting...",
                                      "1|30|OLDNT|Exporting Network (TCP/IP) Information...",
                                      "0|53|Export Completed.|2 Objects Processed.",
                                  }));
  EXPECT_EQ(run_.backend().LeakedHandles(), 0u)
      << ::testing::PrintToString(run_.backend().DescribeLeakedHandles());
}

TEST_F(Network, RegistryReadsFollowTheLayoutOfTheVersion) {
  run_.SetObjects({{24, "OLDNT", "\\\\OLDNT"}});
  run_.SetConfiguration("[Network]\nExportNetwork=1\n");
  run_.Run();
  std::vector<std::string> opened;
  for (const auto& call : run_.backend().call_log().Calls()) {
    if (call.operation == "RegConnectRegistry" || call.operation == "RegOpenKey") {
      opened.push_back(call.host + " " + call.detail);
    }
  }
  const std::string base = "\\\\OLDNT path=HKEY_LOCAL_MACHINE\\";
  EXPECT_EQ(opened,
            (std::vector<std::string>{
                "\\\\OLDNT hive=HKEY_LOCAL_MACHINE",
                base + "System\\CurrentControlSet\\Services\\NetBT\\Parameters access=0x00020019",
                base + "System\\CurrentControlSet\\Services\\Tcpip\\Parameters access=0x00020019",
                base + "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards "
                       "access=0x00020019",
                base + "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\1 "
                       "access=0x00000001",
                base + "System\\CurrentControlSet\\Services\\NetBT\\Adapters\\El59x1 "
                       "access=0x00020019",
                base + "System\\CurrentControlSet\\Services\\El59x1\\Parameters\\Tcpip "
                       "access=0x00020019",
                base + "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\2 "
                       "access=0x00000001",
                base + "System\\CurrentControlSet\\Services\\NetBT\\Adapters\\NE20001 "
                       "access=0x00020019",
                base + "System\\CurrentControlSet\\Services\\NE20001\\Parameters\\Tcpip "
                       "access=0x00020019",
            }));
  for (const auto& call : run_.backend().call_log().Calls()) {
    if (call.operation == "RegQueryValue") {
      EXPECT_TRUE(call.detail.ends_with(" size=256")) << call.detail;
    }
  }
}

TEST_F(Network, UnreachableRegistryMissingKeysAndEmptyHives) {
  run_.SetObjects(
      {{24, "NOREG", "\\\\NOREG"}, {24, "EMPTY", "\\\\EMPTY"}, {24, "LOCKED", "\\\\LOCKED"}});
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\n[Network]\nExportNetwork=1\nNetworkColumns=0,1,2,3,8,7\n");
  run_.Run();
  EXPECT_EQ(run_.Output("networks.txt"),
            "EnableDNS\tEnableLmhosts\tScopeId\tHostName\tNicName\tDNS\r\n"
            "\t\t\tlocked\tLocked card\t\r\n");
  const std::string failure = "Unable to connect to registry on '\\\\NOREG'. Access was denied.";
  EXPECT_EQ(run_.Output("Export.log"),
            "3/5/2026 14:07:09\tNOREG\tNOREG\t\tNETWORK\tERROR\t" + failure +
                "\r\n"
                "3/5/2026 14:07:09\tEMPTY\tEMPTY\t\tNETWORK\tSUCCESS\t\r\n"
                "3/5/2026 14:07:09\tLOCKED\tLOCKED\t\tNETWORK\tSUCCESS\t\r\n");
  EXPECT_EQ(run_.ProgressLines()[1],
            "1|88|NOREG|Exporting Network (TCP/IP) Information..." + failure);
  EXPECT_EQ(run_.backend().LeakedHandles(), 0u);

  EndToEnd quiet;
  quiet.SetEstate(R"({"computers": [{"name": "NOREG", "failures":
                      {"RegConnectRegistry": "RPC_S_SERVER_UNAVAILABLE"}}]})");
  quiet.SetObjects({{24, "NOREG", "\\\\NOREG"}});
  quiet.SetConfiguration("[General]\nVerboseProgress=0\n[Network]\nExportNetwork=1\n");
  quiet.Run();
  EXPECT_EQ(quiet.ProgressLines(),
            (std::vector<std::string>{
                "0|7|NOREG|Exporting...",
                "1|52|NOREG|Unable to connect to registry on '\\\\NOREG'. The RPC server is not "
                "available.",
                "0|53|Export Completed.|1 Objects Processed.",
            }));
}

TEST_F(Network, ValuesMustFitTheBufferOfTwoHundredFiftySixBytes) {
  // 127 characters and the terminator fill the buffer exactly; one more does
  // not fit, and the card without a readable description is left out.
  const std::string fits(127, 'f');
  const std::string too_long(128, 'l');
  run_.dir().Write("sizes.reg", "Windows Registry Editor Version 5.00\n" + std::string(kCards) +
                                    "1]\n\"Description\"=\"" + fits + "\"\n" + std::string(kCards) +
                                    "2]\n\"Description\"=\"" + too_long + "\"\n" +
                                    std::string(kCards) + "3]\n\"Description\"=\"\"\n");
  run_.SetEstate(R"({"computers": [{"name": "SIZES", "registry": {"files": ")" +
                 run_.dir().File("sizes.reg") + R"("}}]})");
  run_.SetObjects({{24, "SIZES", "\\\\SIZES"}});
  run_.SetConfiguration("[Network]\nExportNetwork=1\nNetworkColumns=8\n");
  run_.Run();
  EXPECT_EQ(run_.Output("networks.txt"), "NicName\r\n" + fits + "\r\n");
}

TEST_F(Network, SpaceListsTakeTheFirstCharacterOfTheSecondaryDelimiter) {
  // Blank- and comma-separated lists (suffixes, DNS) take one whole
  // character; multi-strings (WINS) are joined with the whole delimiter. An
  // empty delimiter ends a blank-separated list at its first separator.
  const std::string section = "[Network]\nExportNetwork=1\nNetworkColumns=5,7,10\n";
  struct Case {
    const char* general;
    std::string expected;
  } cases[] = {
      {"SecondaryDelimiter=\n",
       "SuffixList\tDNS\tWINS\r\n"
       "quarry.example\t192.0.2.53\t192.0.2.5\r\n"
       "quarry.example\t192.0.2.53\t192.0.2.7192.0.2.8\r\n"
       "quarry.example\t\t\r\n"
       "quarry.example\t\t\r\n"},
      {"SecondaryDelimiter=\xC2\xA7-\n",
       "SuffixList\tDNS\tWINS\r\n"
       "quarry.example\xA7"
       "branch.quarry.example\xA7lab.example\t192.0.2.53\xA7"
       "192.0.2.54\t"
       "192.0.2.5\r\n"
       "quarry.example\xA7"
       "branch.quarry.example\xA7lab.example\t192.0.2.53\xA7"
       "192.0.2.54\t"
       "192.0.2.7\xA7-192.0.2.8\r\n"
       "quarry.example\xA7"
       "branch.quarry.example\xA7lab.example\t\t\r\n"
       "quarry.example\xA7"
       "branch.quarry.example\xA7lab.example\t\t\r\n"},
      {"SecondaryDelimiter=\xC2\xA7-\nUnicodeOutput=1\n",
       "\xFF\xFE" + text::Utf8ToUtf16Le("SuffixList\tDNS\tWINS\n"
                                        "quarry.example\u00A7"
                                        "branch.quarry.example\u00A7lab.example\t"
                                        "192.0.2.53\u00A7"
                                        "192.0.2.54\t192.0.2.5\n"
                                        "quarry.example\u00A7"
                                        "branch.quarry.example\u00A7lab.example\t"
                                        "192.0.2.53\u00A7"
                                        "192.0.2.54\t192.0.2.7\u00A7-192.0.2.8\n"
                                        "quarry.example\u00A7"
                                        "branch.quarry.example\u00A7lab.example\t\t\n"
                                        "quarry.example\u00A7"
                                        "branch.quarry.example\u00A7lab.example\t\t\n")},
  };
  run_.SetObjects({{24, "MODERN", "\\\\MODERN"}});
  for (const Case& c : cases) {
    run_.SetConfiguration("[General]\n" + std::string(c.general) + section);
    run_.Run();
    EXPECT_EQ(run_.Output("networks.txt"), c.expected) << c.general;
  }
}

}  // namespace
}  // namespace tabulon::testing
