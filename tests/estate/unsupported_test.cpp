#include "platform/unsupported/unsupported.h"

#include <gtest/gtest.h>

#include <functional>

namespace tabulon::unsupported {
namespace {

TEST(Unsupported, EveryCallFailsWithNotSupported) {
  UnsupportedNetworkManagement net;
  UnsupportedServiceControl scm;
  UnsupportedDirectoryService directory;
  UnsupportedAccountLookup accounts;
  UnsupportedFileSystem files;
  const std::function<win::Status()> calls[] = {
      [&] { return net.NetServerGetInfo101("\\\\A").status; },
      [&] { return net.NetServerEnum101("D", 0xFFFFFFFF, 0xFFFFFFFF, 0).status; },
      [&] { return net.NetQueryDisplayMachines("A", 0, 100, 128000).status; },
      [&] { return net.NetGetDCName("", "D").status; },
      [&] { return scm.OpenSCManager("A", 4).status; },
      [&] { return scm.EnumServicesStatus(1, 0x33, 3, 0, 0).status; },
      [&] { return scm.OpenService(1, "S", 1).status; },
      [&] { return scm.QueryServiceConfig(1, 512).status; },
      [&] { return directory.DsGetDcName("D", 0).status; },
      [&] {
        return accounts.LookupAccountSid("", platform::Sid{1, 5, {18}}).status;
      },
      [&] { return accounts.LookupAccountName("", "SYSTEM", 64).status; },
      [&] { return net.NetShareEnum("A", 502, 0xFFFFFFFF, 0).status; },
      [&] { return net.NetShareGetInfo0("A", "C$").status; },
      [&] { return net.NetConnectionEnum1("A", "Data", 65536, 0).status; },
      [&] { return net.NetSessionEnum("A", "", "", 502, 65536, 0).status; },
      [&] { return net.NetFileEnum3("A", "", "", 0xFFFFFFFF, 0).status; },
      [&] { return net.NetServerDiskEnum0("A", 0xFFFFFFFF).status; },
      [&] { return net.NetWkstaTransportEnum0("A", 0xFFFFFFFF, 0).status; },
      [&] { return files.GetDiskFreeSpaceEx("C:\\").status; },
      [&] { return files.GetVolumeInformation("C:\\", 30, 5).status; },
  };
  for (std::size_t i = 0; i < std::size(calls); ++i) {
    EXPECT_EQ(calls[i](), win::ERROR_NOT_SUPPORTED) << "call " << i;
  }
  EXPECT_EQ(scm.OpenSCManager("A", 4).handle, 0u) << "no handle is ever handed out";
  EXPECT_FALSE(scm.CloseServiceHandle(1));
}

TEST(UnsupportedTerminalServices, NoLibraryAndEveryCallFails) {
  UnsupportedTerminalServices ts;
  EXPECT_FALSE(ts.Libraries().terminal_services);
  EXPECT_FALSE(ts.Libraries().window_station);
  const auto opened = ts.OpenServer("\\\\A");
  EXPECT_EQ(opened.status, win::ERROR_NOT_SUPPORTED);
  EXPECT_EQ(opened.handle, 0u);
  EXPECT_EQ(ts.EnumerateSessions(1, 0, 1).status, win::ERROR_NOT_SUPPORTED);
  EXPECT_EQ(ts.EnumerateProcesses(1, 0, 1).status, win::ERROR_NOT_SUPPORTED);
  EXPECT_EQ(ts.QuerySessionInformation(1, 0, 5).status, win::ERROR_NOT_SUPPORTED);
  EXPECT_EQ(ts.QueryUserConfig("A", "u", 0).status, win::ERROR_NOT_SUPPORTED);
  EXPECT_EQ(ts.WinStationQueryInformation(1, 0, 8, 1216).status, win::ERROR_NOT_SUPPORTED);
}

}  // namespace
}  // namespace tabulon::unsupported
