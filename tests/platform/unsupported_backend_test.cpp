#include "platform/unsupported/backend.h"

#include <gtest/gtest.h>

#include <functional>

namespace tabulon::unsupported {
namespace {

TEST(UnsupportedBackend, EveryCallOfEveryFamilyFailsAndNoHandleIsHandedOut) {
  UnsupportedBackend backend;
  const auto session = backend.Open("\\\\A", {});
  platform::TargetSession& s = *session;
  EXPECT_EQ(s.target(), "\\\\A");
  const std::function<win::Status()> calls[] = {
      [&] { return s.server().NetServerGetInfo101("\\\\A").status; },
      [&] { return s.server().NetShareEnum("A", 502, 0xFFFFFFFF, 0).status; },
      [&] { return s.server().NetShareGetInfo0("A", "C$").status; },
      [&] { return s.server().NetConnectionEnum1("A", "Data", 65536, 0).status; },
      [&] { return s.server().NetSessionEnum("A", "", "", 502, 65536, 0).status; },
      [&] { return s.server().NetFileEnum3("A", "", "", 0xFFFFFFFF, 0).status; },
      [&] { return s.server().NetServerDiskEnum0("A", 0xFFFFFFFF).status; },
      [&] { return s.workstation().NetWkstaTransportEnum0("A", 0xFFFFFFFF, 0).status; },
      [&] { return s.browser().NetServerEnum101("D", 0xFFFFFFFF, 0xFFFFFFFF, 0).status; },
      [&] { return s.accounts().NetQueryDisplayMachines("A", 0, 100, 128000).status; },
      [&] { return s.accounts().NetGetDCName("", "D").status; },
      [&] { return s.services().OpenSCManager("A", 4).status; },
      [&] { return s.services().EnumServicesStatus(1, 0x33, 3, 0, 0).status; },
      [&] { return s.services().OpenService(1, "S", 1).status; },
      [&] { return s.services().QueryServiceConfig(1, 512).status; },
      [&] { return s.directory().DsGetDcName("D", 0).status; },
      [&] {
        return s.lookup().LookupAccountSid("", platform::Sid{1, 5, {18}}).status;
      },
      [&] { return s.lookup().LookupAccountName("", "SYSTEM", 64).status; },
      [&] { return s.files().GetDiskFreeSpaceEx("C:\\").status; },
      [&] { return s.files().GetVolumeInformation("C:\\", 30, 5).status; },
      [&] { return s.registry().ConnectRegistry("\\\\A", platform::kHkeyLocalMachine).status; },
      [&] { return s.registry().OpenKey(platform::kHkeyLocalMachine, "SOFTWARE", 1).status; },
      [&] { return s.registry().QueryValue(0x1000, "V", 256).status; },
      [&] { return s.registry().EnumKey(0x1000, 0, 256).status; },
      [&] { return s.registry().EnumValue(0x1000, 0, 256, 256).status; },
      [&] { return s.registry().QueryInfoKey(0x1000).status; },
      [&] { return s.printing().EnumPrinters(platform::kPrinterEnumName, "\\\\A", 2, 0).status; },
      [&] { return s.printing().OpenPrinter("\\\\A\\P").status; },
      [&] { return s.printing().GetPrinter(1, 2, 0).status; },
      [&] { return s.terminal().OpenServer("\\\\A").status; },
      [&] { return s.terminal().EnumerateSessions(1, 0, 1).status; },
      [&] { return s.terminal().EnumerateProcesses(1, 0, 1).status; },
      [&] { return s.terminal().QuerySessionInformation(1, 0, 5).status; },
      [&] { return s.terminal().QueryUserConfig("A", "u", 0).status; },
      [&] { return s.terminal().WinStationQueryInformation(1, 0, 8, 1216).status; },
  };
  for (std::size_t i = 0; i < std::size(calls); ++i) {
    EXPECT_EQ(calls[i](), win::ERROR_NOT_SUPPORTED) << "call " << i;
  }
  // Directory calls report it as the directory interface does.
  EXPECT_EQ(s.directory_search().Open({}).status, win::E_NOT_SUPPORTED);
  EXPECT_EQ(s.directory_search().Search({}, {}).status, win::E_NOT_SUPPORTED);
  EXPECT_EQ(s.services().OpenSCManager("A", 4).handle, 0u);
  EXPECT_EQ(s.registry().ConnectRegistry("\\\\A", platform::kHkeyUsers).key, 0u);
  EXPECT_EQ(s.printing().OpenPrinter("\\\\A\\P").handle, 0u);
  EXPECT_EQ(s.terminal().OpenServer("\\\\A").handle, 0u);
  EXPECT_FALSE(s.services().CloseServiceHandle(1));
  EXPECT_FALSE(s.printing().ClosePrinter(1));
  EXPECT_EQ(s.registry().CloseKey(platform::kHkeyUsers), win::ERROR_SUCCESS)
      << "a predefined key closes";
  EXPECT_EQ(s.registry().CloseKey(0x1000), win::ERROR_INVALID_HANDLE);
  EXPECT_FALSE(s.terminal().Libraries().terminal_services);
  EXPECT_FALSE(s.terminal().Libraries().window_station);
}

}  // namespace
}  // namespace tabulon::unsupported
