// What the estate's server resources answer beyond what the exports read:
// other levels and filters, paging, the volumes behind shares, and the
// profiles synthetic computers share.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sample_estate.h"

namespace tabulon::estate {
namespace {

using platform::kMaxPreferredLength;

constexpr std::string_view kEstate = R"json({
  "local_computer": "ADMIN",
  "computers": [
    {"name": "FS01", "address": "192.0.2.5", "default_shares": true,
     "disks": [
       {"drive": "d:", "total_bytes": "500 GiB", "free_bytes": "125 GiB",
        "caller_free_bytes": "100 GiB", "label": "Data", "serial": "0x9A3C19E2"},
       {"drive": "C", "total_bytes": 1000, "free_bytes": 250, "file_system": "NTFS"},
       {"drive": "E", "removable": true, "ready": false},
       {"drive": "F", "total_bytes": "8 GiB", "free_bytes": "1 GiB", "file_system": "FAT32",
        "label": "USB"}
     ],
     "shares": [
       {"name": "Data", "remark": "Team data", "path": "D:\\Data", "max_uses": 10,
        "permissions": ["READ", "WRITE"],
        "connections": [
          {"user": "ann", "computer": "WS01", "opens": 2, "time": 3725},
          {"user": "bob", "computer": "WS02", "users": 2}
        ]},
       {"name": "Laser", "type": "PRINTQ", "remark": "2nd floor"},
       {"name": "Scans", "path": "D:\\Scans", "current_uses": 7,
        "connections": [{"user": "ann", "computer": "\\\\WS01", "id": 40}]}
     ],
     "sessions": [
       {"computer": "WS01", "user": "ann", "opens": 2, "time": 3725, "idle_time": 60,
        "client_type": "Windows 10 Pro", "transport": "\\Device\\NetbiosSmb",
        "user_flags": "GUEST"},
       {"computer": "WS02", "user": "bob"}
     ],
     "open_files": [
       {"path": "D:\\Data\\plan.xlsx", "user": "ann", "permissions": ["READ", "WRITE"],
        "locks": 1},
       {"id": 99, "path": "D:\\Scans\\a.pdf", "user": "bob"}
     ]},
    {"name": "DOWN", "offline": true, "shares": [{"name": "X"}]},
    {"name": "ADMIN", "disks": [{"drive": "C", "total_bytes": 100, "free_bytes": 40}]},
    {"name": "PLAIN"}
  ]
})json";

class ServerResourcesTest : public ::testing::Test {
 protected:
  std::unique_ptr<EstateBackend> backend_ = testing::BackendFrom(kEstate);
  std::unique_ptr<EstateSession> p_;
  void SetUp() override { p_ = backend_->OpenSession(""); }
};

std::vector<std::string> ShareNames(const std::vector<platform::ShareInfo>& shares) {
  std::vector<std::string> names;
  for (const auto& s : shares) names.push_back(s.netname);
  return names;
}

TEST_F(ServerResourcesTest, ShareLevelsAndStatuses) {
  const auto brief = p_->server().NetShareEnum("FS01", 1, kMaxPreferredLength, 0);
  ASSERT_EQ(brief.status, win::ERROR_SUCCESS);
  EXPECT_EQ(ShareNames(brief.entries), (std::vector<std::string>{"ADMIN$", "C$", "D$", "F$", "IPC$",
                                                                 "Data", "Laser", "Scans"}))
      << "no default share for the removable E:";
  EXPECT_EQ(brief.entries[5].path, "") << "level 1 has no path";
  EXPECT_EQ(brief.entries[5].current_uses, 0u);

  EXPECT_EQ(p_->server().NetShareEnum("FS01", 2, kMaxPreferredLength, 0).status,
            win::ERROR_INVALID_LEVEL);
  EXPECT_EQ(p_->server().NetShareEnum("\\\\DOWN", 502, kMaxPreferredLength, 0).status,
            win::ERROR_BAD_NETPATH);
  const auto none = p_->server().NetShareEnum("PLAIN", 502, kMaxPreferredLength, 0);
  EXPECT_EQ(none.status, win::ERROR_SUCCESS);
  EXPECT_TRUE(none.entries.empty());
  EXPECT_EQ(p_->server().NetShareGetInfo0("\\\\FS01", "c$").netname, "C$");
  EXPECT_EQ(p_->server().NetShareGetInfo0("\\\\FS01", "E$").status, win::NERR_NetNameNotFound);
  EXPECT_EQ(p_->server().NetShareGetInfo0("\\\\NOBODY", "C$").status, win::ERROR_BAD_NETPATH);
}

TEST_F(ServerResourcesTest, SharePagesAreSizedAsWindowsSizesThem) {
  // SHARE_INFO_502 is 40 bytes; "ADMIN$" (14), "Remote Admin" (26) and
  // "C:\Windows" (22) make 102.
  EXPECT_EQ(p_->server().NetShareEnum("FS01", 502, 102, 0).entries.size(), 1u);
  EXPECT_EQ(p_->server().NetShareEnum("FS01", 502, 1, 0).entries.size(), 1u)
      << "at least one a page";
}

TEST_F(ServerResourcesTest, ConnectionsByShareOrByClient) {
  const auto from_ws01 = p_->server().NetConnectionEnum1("FS01", "\\\\ws01", 65536, 0);
  ASSERT_EQ(from_ws01.entries.size(), 2u);
  EXPECT_EQ(from_ws01.entries[0].netname, "Data");
  EXPECT_EQ(from_ws01.entries[1].netname, "Scans");
  EXPECT_EQ(from_ws01.entries[1].id, 40u);

  EXPECT_TRUE(p_->server().NetConnectionEnum1("FS01", "Laser", 65536, 0).entries.empty());
  EXPECT_EQ(p_->server().NetConnectionEnum1("FS01", "Nope", 65536, 0).status,
            win::NERR_NetNameNotFound);
  EXPECT_EQ(p_->server().NetConnectionEnum1("FS01", "\\\\WS09", 65536, 0).status,
            win::NERR_ClientNameNotFound);
  EXPECT_EQ(p_->server().NetConnectionEnum1("FS01", "", 65536, 0).status,
            win::ERROR_INVALID_PARAMETER);
  const auto small = p_->server().NetConnectionEnum1("FS01", "Data", 40, 0);
  EXPECT_EQ(small.status, win::ERROR_MORE_DATA);
  EXPECT_EQ(small.entries.size(), 1u);
  EXPECT_EQ(small.total_entries, 2u);
  EXPECT_EQ(small.resume_handle, 1u);
}

TEST_F(ServerResourcesTest, SessionAndOpenFileFilters) {
  const auto brief = p_->server().NetSessionEnum("FS01", "", "", 1, 65536, 0);
  ASSERT_EQ(brief.entries.size(), 2u);
  EXPECT_EQ(brief.entries[0].transport, "") << "level 1 has no transport";
  EXPECT_EQ(p_->server().NetSessionEnum("FS01", "\\\\WS02", "", 502, 65536, 0).entries.size(), 1u);
  EXPECT_EQ(p_->server().NetSessionEnum("FS01", "\\\\WS09", "", 502, 65536, 0).status,
            win::NERR_ClientNameNotFound);
  EXPECT_EQ(p_->server().NetSessionEnum("FS01", "", "zed", 502, 65536, 0).status,
            win::NERR_UserNotFound);
  EXPECT_EQ(p_->server().NetSessionEnum("FS01", "", "", 10, 65536, 0).status,
            win::ERROR_INVALID_LEVEL);

  const auto files = p_->server().NetFileEnum3("FS01", "", "", kMaxPreferredLength, 0);
  ASSERT_EQ(files.entries.size(), 2u);
  EXPECT_EQ(files.entries[0].id, 1u) << "position when not given";
  EXPECT_EQ(
      p_->server().NetFileEnum3("FS01", "d:\\scans", "", kMaxPreferredLength, 0).entries.size(),
      1u);
  EXPECT_EQ(p_->server().NetFileEnum3("FS01", "", "ANN", kMaxPreferredLength, 0).entries.size(),
            1u);

  const auto disks = p_->server().NetServerDiskEnum0("192.0.2.5", kMaxPreferredLength);
  EXPECT_EQ(disks.disks, (std::vector<std::string>{"C:", "D:", "E:", "F:"})) << "by letter";
}

TEST_F(ServerResourcesTest, VolumesBehindSharesAndLocalDrives) {
  EXPECT_EQ(p_->files().GetDiskFreeSpaceEx("\\\\fs01\\data\\sub\\dir").total_bytes, 500ULL << 30)
      << "any directory of the share";
  EXPECT_EQ(p_->files().GetDiskFreeSpaceEx("C:\\").total_bytes, 100u)
      << "the local computer's own C:";

  struct Case {
    const char* what;
    std::function<win::Status()> call;
    win::Status expected;
  };
  const Case cases[] = {
      {"FAT32 does not fit five characters",
       [&] { return p_->files().GetVolumeInformation("\\\\FS01\\F$\\", 30, 5).status; },
       win::ERROR_MORE_DATA},
      {"a label longer than the buffer",
       [&] { return p_->files().GetVolumeInformation("\\\\FS01\\D$\\", 4, 5).status; },
       win::ERROR_MORE_DATA},
      {"FAT32 with room for it",
       [&] { return p_->files().GetVolumeInformation("\\\\FS01\\F$\\", 30, 6).status; },
       win::ERROR_SUCCESS},
      {"below the root",
       [&] { return p_->files().GetVolumeInformation("\\\\FS01\\D$\\Data\\", 30, 5).status; },
       win::ERROR_DIR_NOT_ROOT},
      {"no trailing backslash",
       [&] { return p_->files().GetDiskFreeSpaceEx("\\\\FS01\\D$").status; },
       win::ERROR_INVALID_NAME},
      {"removable drive has no default share",
       [&] { return p_->files().GetDiskFreeSpaceEx("\\\\FS01\\E$\\").status; },
       win::ERROR_BAD_NET_NAME},
      {"print share", [&] { return p_->files().GetDiskFreeSpaceEx("\\\\FS01\\Laser\\").status; },
       win::ERROR_BAD_NET_NAME},
      {"IPC$", [&] { return p_->files().GetDiskFreeSpaceEx("\\\\FS01\\IPC$\\").status; },
       win::ERROR_BAD_NET_NAME},
      {"unknown share", [&] { return p_->files().GetDiskFreeSpaceEx("\\\\FS01\\Q$\\").status; },
       win::ERROR_BAD_NET_NAME},
      {"offline computer", [&] { return p_->files().GetDiskFreeSpaceEx("\\\\DOWN\\X\\").status; },
       win::ERROR_BAD_NETPATH},
      {"unknown computer",
       [&] { return p_->files().GetDiskFreeSpaceEx("\\\\NOBODY\\C$\\").status; },
       win::ERROR_BAD_NETPATH},
      {"local drive not there", [&] { return p_->files().GetDiskFreeSpaceEx("Q:\\").status; },
       win::ERROR_PATH_NOT_FOUND},
      {"relative path", [&] { return p_->files().GetDiskFreeSpaceEx("data").status; },
       win::ERROR_INVALID_NAME},
  };
  for (const Case& c : cases) EXPECT_EQ(c.call(), c.expected) << c.what;
}

TEST_F(ServerResourcesTest, RemovableDriveWithoutMediumIsNotReady) {
  auto backend = testing::BackendFrom(R"json({"computers": [{"name": "S",
    "disks": [{"drive": "E", "ready": false}],
    "shares": [{"name": "E", "type": "SPECIAL", "path": "E:\\"}]}]})json");
  auto p = backend->OpenSession("");
  EXPECT_EQ(p->files().GetDiskFreeSpaceEx("\\\\S\\E\\").status, win::ERROR_NOT_READY);
  EXPECT_EQ(p->files().GetVolumeInformation("\\\\S\\E\\", 30, 5).status, win::ERROR_NOT_READY);
}

TEST(EstateServerResources, SyntheticComputersShareResourceProfiles) {
  const LoadResult plain =
      ParseEstate(R"({"synthetic": {"computers": 50, "service_profiles": 4}})", "plain.json");
  const LoadResult served = ParseEstate(
      R"({"synthetic": {"computers": 50, "service_profiles": 4, "shares_per_computer": 3,
          "connections_per_share": 2, "sessions_per_computer": 5, "open_files_per_computer": 6,
          "disks_per_computer": 2, "transports_per_computer": 1}})",
      "served.json");
  ASSERT_TRUE(plain.ok && served.ok) << plain.error << served.error;
  ASSERT_EQ(plain.estate.computers.size(), served.estate.computers.size());
  for (std::size_t i = 0; i < plain.estate.computers.size(); ++i) {
    EXPECT_EQ(plain.estate.computers[i].name, served.estate.computers[i].name)
        << "resources draw nothing from the estate's random sequence";
    EXPECT_EQ(plain.estate.computers[i].offline, served.estate.computers[i].offline);
  }
  EXPECT_EQ(plain.estate.computers[0].resources, nullptr);
  const Computer& first = served.estate.computers[0];
  ASSERT_NE(first.resources, nullptr);
  EXPECT_EQ(first.resources, served.estate.computers[4].resources) << "4 shared profiles";
  EXPECT_NE(first.resources, served.estate.computers[1].resources);
  // ADMIN$, C$, D$, IPC$ and three listed shares.
  EXPECT_EQ(first.resources->shares.size(), 7u);
  for (const Disk& disk : first.resources->disks) EXPECT_LE(disk.free_bytes, disk.total_bytes);

  EXPECT_FALSE(ParseEstate(R"({"synthetic": {"disks_per_computer": 25}})", "x.json").ok);
}

}  // namespace
}  // namespace tabulon::estate
