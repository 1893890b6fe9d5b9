// Network management on NetAPI32: live where Wine answers with this
// computer's data (server information, transports), and the records Wine
// only stubs (shares, sessions, connections, files, disks, jobs) decoded
// from records made by hand as the API makes them, hostile ones included.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/bounded_calls.h"
#include "platform/win32/net_buffer.h"
#include "platform/win32/netapi.h"
#include "platform/win32/netapi_records.h"
#include "platform/win32/wide.h"

#include <sddl.h>

namespace tabulon::platform {
namespace {

using win32::NetBuffer;
using win32::RecordsIn;

std::string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  EXPECT_TRUE(::GetComputerNameW(name, &size));
  return win32::ToUtf8(std::wstring_view(name, size));
}

class Win32Netapi : public ::testing::Test {
 protected:
  BoundedCalls calls_{std::chrono::seconds(60), CancelToken{}};
  win32::Win32NetworkManagement net_{calls_};
};

TEST_F(Win32Netapi, ServerInfoAndTransportsOfThisComputer) {
  const ServerInfoResult server = net_.NetServerGetInfo101("");
  ASSERT_EQ(server.status, ERROR_SUCCESS);
  EXPECT_EQ(server.info.platform_id, 500u);
  EXPECT_EQ(server.info.name, ComputerName());
  EXPECT_GE(server.info.version_major, 5u);

  const WkstaTransportEnumResult transports =
      net_.NetWkstaTransportEnum0("", kMaxPreferredLength, 0);
  ASSERT_EQ(transports.status, ERROR_SUCCESS);
  ASSERT_FALSE(transports.entries.empty());
  // Wine counts every adapter in the total but lists only those bound.
  EXPECT_GE(transports.total_entries, transports.entries.size());
  for (const auto& transport : transports.entries) {
    EXPECT_TRUE(transport.transport_name.starts_with("\\Device\\")) << transport.transport_name;
    EXPECT_FALSE(transport.transport_address.empty());
  }
}

TEST_F(Win32Netapi, LevelsOtherThanTheInterfaceNamesAreRefusedUnasked) {
  EXPECT_EQ(net_.NetShareEnum("", 2, kMaxPreferredLength, 0).status, ERROR_INVALID_LEVEL);
  EXPECT_EQ(net_.NetSessionEnum("", "", "", 10, kMaxPreferredLength, 0).status,
            ERROR_INVALID_LEVEL);
}

TEST(Win32NetBuffer, ACountBeyondTheBufferIsCutToWhatItHolds) {
  NetBuffer buffer;
  ASSERT_EQ(::NetApiBufferAllocate(2 * sizeof(SHARE_INFO_1), buffer.out()), NERR_Success);
  ASSERT_GE(buffer.bytes(), 2 * sizeof(SHARE_INFO_1));
  EXPECT_EQ(RecordsIn<SHARE_INFO_1>(buffer, 1000000).size(), buffer.bytes() / sizeof(SHARE_INFO_1));
  EXPECT_EQ(RecordsIn<SHARE_INFO_1>(buffer, 1).size(), 1u);
  EXPECT_TRUE(RecordsIn<SHARE_INFO_1>(NetBuffer{}, 5).empty());

  // Records come only with the two statuses that carry them.
  ShareEnumResult page;
  win32::TakePage<SHARE_INFO_1>(page, ERROR_ACCESS_DENIED, buffer, 1, 7, 3,
                                [](const SHARE_INFO_1&) { return ShareInfo{}; });
  EXPECT_EQ(page.status, ERROR_ACCESS_DENIED);
  EXPECT_TRUE(page.entries.empty());
  EXPECT_EQ(page.resume_handle, 0u);
  win32::TakePage<SHARE_INFO_1>(page, ERROR_MORE_DATA, buffer, 1, 7, 3,
                                [](const SHARE_INFO_1&) { return ShareInfo{}; });
  EXPECT_EQ(page.entries.size(), 1u);
  EXPECT_EQ(page.total_entries, 7u);
  EXPECT_EQ(page.resume_handle, 3u);
  // A count the buffer cannot hold is a broken reply, not a short page.
  ShareEnumResult broken;
  win32::TakePage<SHARE_INFO_1>(broken, ERROR_SUCCESS, buffer, 1000000, 1000000, 0,
                                [](const SHARE_INFO_1&) { return ShareInfo{}; });
  EXPECT_EQ(broken.status, ERROR_INVALID_DATA);
  EXPECT_TRUE(broken.entries.empty());
}

TEST(Win32NetText, NullIsEmptyAndAnOverlongStringIsReadToTheBound) {
  EXPECT_EQ(win32::NetText(nullptr), "");
  const std::wstring longer(win32::kMaxNetTextUnits + 100, L'x');
  EXPECT_EQ(win32::NetText(longer.c_str()).size(), win32::kMaxNetTextUnits);
  EXPECT_EQ(win32::NetText(L"\u00DCbersicht"),
            "\xC3\x9C"
            "bersicht");
}

TEST(Win32NetRecords, ShareDescriptorOnlyWhenValidAndSelfRelative) {
  PSECURITY_DESCRIPTOR relative = nullptr;
  ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(
      L"O:BAG:BAD:(A;;FA;;;WD)", SDDL_REVISION_1, &relative, nullptr));
  SECURITY_DESCRIPTOR absolute;
  ASSERT_TRUE(::InitializeSecurityDescriptor(&absolute, SECURITY_DESCRIPTOR_REVISION));
  unsigned char garbage[64] = {0xFF, 0xFF, 0xFF};

  wchar_t name[] = L"DATA$", remark[] = L"Daten", path[] = L"C:\\Data";
  SHARE_INFO_502 record{
      name, STYPE_DISKTREE | STYPE_SPECIAL, remark, 0x7F, 10, 3, path, nullptr, 0, relative};
  ShareInfo share = win32::ShareInfoOf(record);
  EXPECT_EQ(share.netname, "DATA$");
  EXPECT_EQ(share.type, kStypeSpecial);
  EXPECT_EQ(share.remark, "Daten");
  EXPECT_EQ(share.max_uses, 10u);
  EXPECT_EQ(share.current_uses, 3u);
  EXPECT_EQ(share.path, "C:\\Data");
  EXPECT_EQ(share.security_descriptor.size(), ::GetSecurityDescriptorLength(relative));

  for (PSECURITY_DESCRIPTOR dropped :
       {static_cast<PSECURITY_DESCRIPTOR>(&absolute), static_cast<PSECURITY_DESCRIPTOR>(garbage),
        PSECURITY_DESCRIPTOR{nullptr}}) {
    record.shi502_security_descriptor = dropped;
    EXPECT_TRUE(win32::ShareInfoOf(record).security_descriptor.empty());
  }
  ::LocalFree(relative);

  const SHARE_INFO_1 level1{nullptr, STYPE_IPC | STYPE_SPECIAL, nullptr};
  share = win32::ShareInfoOf(level1);
  EXPECT_EQ(share.netname, "");
  EXPECT_EQ(share.type, 0x80000003u);
}

// The records whose fields are filled in order: each field a value of its
// own, so that a swap shows.
TEST(Win32NetRecords, EveryFieldLandsInItsPlace) {
  wchar_t a[] = L"a", b[] = L"b", c[] = L"c", d[] = L"d";
  const ServerInfo101 server = win32::ServerInfoOf(SERVER_INFO_101{500, a, 10, 1, 0x1003, b});
  EXPECT_EQ(server.name, "a");
  EXPECT_EQ(server.version_major, 10u);
  EXPECT_EQ(server.version_minor, 1u);
  EXPECT_EQ(server.type, 0x1003u);
  EXPECT_EQ(server.comment, "b");

  const ConnectionInfo1 connection =
      win32::ConnectionInfoOf(CONNECTION_INFO_1{1, 2, 3, 4, 5, a, b});
  EXPECT_EQ(connection.id, 1u);
  EXPECT_EQ(connection.type, 2u);
  EXPECT_EQ(connection.num_opens, 3u);
  EXPECT_EQ(connection.num_users, 4u);
  EXPECT_EQ(connection.time, 5u);
  EXPECT_EQ(connection.username, "a");
  EXPECT_EQ(connection.netname, "b");

  const SessionInfo session = win32::SessionInfoOf(SESSION_INFO_502{a, b, 1, 2, 3, 4, c, d});
  EXPECT_EQ(session.cname, "a");
  EXPECT_EQ(session.username, "b");
  EXPECT_EQ(session.num_opens, 1u);
  EXPECT_EQ(session.time, 2u);
  EXPECT_EQ(session.idle_time, 3u);
  EXPECT_EQ(session.user_flags, 4u);
  EXPECT_EQ(session.cltype_name, "c");
  EXPECT_EQ(session.transport, "d");

  const FileInfo3 file = win32::FileInfoOf(FILE_INFO_3{7, 1, 2, a, b});
  EXPECT_EQ(file.id, 7u);
  EXPECT_EQ(file.permissions, 1u);
  EXPECT_EQ(file.num_locks, 2u);
  EXPECT_EQ(file.pathname, "a");
  EXPECT_EQ(file.username, "b");

  const WkstaTransportInfo0 transport =
      win32::TransportInfoOf(WKSTA_TRANSPORT_INFO_0{1, 2, a, b, 5});
  EXPECT_EQ(transport.quality_of_service, 1u);
  EXPECT_EQ(transport.number_of_vcs, 2u);
  EXPECT_EQ(transport.transport_name, "a");
  EXPECT_EQ(transport.transport_address, "b");
  EXPECT_EQ(transport.wan_ish, 5u);

  const DisplayMachine machine =
      win32::DisplayMachineOf(NET_DISPLAY_MACHINE{a, b, 0x1000, 1105, 9});
  EXPECT_EQ(machine.name, "a");
  EXPECT_EQ(machine.comment, "b");
  EXPECT_EQ(machine.flags, 0x1000u);
  EXPECT_EQ(machine.user_id, 1105u);
  EXPECT_EQ(machine.next_index, 9u);

  const AtEnum job = win32::AtEnumOf(AT_ENUM{3, 3600000, 0x5, 0x41, 0x11, nullptr});
  EXPECT_EQ(job.job_id, 3u);
  EXPECT_EQ(job.job_time, 3600000u);
  EXPECT_EQ(job.days_of_month, 0x5u);
  EXPECT_EQ(job.days_of_week, 0x41);
  EXPECT_EQ(job.flags, 0x11);
  EXPECT_EQ(job.command, "");
}

TEST(Win32NetRecords, DisksAreCutToTheBufferAndToTheirThreeUnits) {
  // "C:" terminated, "D:" without its terminator, then the list's end.
  const wchar_t disks[] = {L'C', L':', 0, L'D', L':', L'X', 0};
  EXPECT_EQ(win32::ServerDisksOf(disks, 6 * sizeof(wchar_t), 1000),
            (std::vector<std::string>{"C:", "D:X"}));
  EXPECT_EQ(win32::ServerDisksOf(disks, 5 * sizeof(wchar_t), 2), std::vector<std::string>{"C:"});
  EXPECT_TRUE(win32::ServerDisksOf(nullptr, 100, 2).empty());
}

}  // namespace
}  // namespace tabulon::platform
