// Terminal services on Windows: the decoding of what wtsapi32 and winsta
// answer, from records made by hand (hostile ones too), and the calls Wine
// really answers on this computer.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "platform/bounded_calls.h"
#include "platform/win32/terminal_records.h"
#include "platform/win32/terminal_services.h"
#include "platform/win32/wide.h"

// The statuses expected, named before <windows.h> turns the names into
// macros of another type.
namespace tabulon::platform::win32::expect {
constexpr win::Status kOk = win::ERROR_SUCCESS;
constexpr win::Status kInvalidData = win::ERROR_INVALID_DATA;
constexpr win::Status kInvalidHandle = win::ERROR_INVALID_HANDLE;
constexpr win::Status kNotSupported = win::ERROR_NOT_SUPPORTED;
constexpr win::Status kInvalidParameter = win::ERROR_INVALID_PARAMETER;
}  // namespace tabulon::platform::win32::expect

#include <windows.h>
#include <wtsapi32.h>

namespace tabulon::platform::win32 {
namespace {

TEST(Win32TerminalRecords, DecodesSessionsWithNamesBounded) {
  std::wstring long_name(kMaxWtsNameChars + 500, L'x');
  WTS_SESSION_INFOW records[3] = {
      {0, const_cast<wchar_t*>(L"Services"), WTSDisconnected},
      {2, const_cast<wchar_t*>(L"RDP-Tcp#\u00e9"), WTSActive},
      {65536, nullptr, WTSListen},
  };
  std::vector<WtsSessionInfo> sessions;
  ASSERT_EQ(DecodeSessions(records, 3, sessions), expect::kOk);
  ASSERT_EQ(sessions.size(), 3u);
  EXPECT_EQ(sessions[1].session_id, 2u);
  EXPECT_EQ(sessions[1].win_station_name, "RDP-Tcp#\xC3\xA9");
  EXPECT_EQ(sessions[1].state, kWtsActive);
  EXPECT_EQ(sessions[2].win_station_name, "");
  EXPECT_EQ(sessions[2].state, kWtsListen);

  records[0].pWinStationName = long_name.data();
  ASSERT_EQ(DecodeSessions(records, 1, sessions), expect::kOk);
  EXPECT_EQ(sessions[0].win_station_name.size(), kMaxWtsNameChars);

  EXPECT_EQ(DecodeSessions(records, kMaxWtsSessions + 1, sessions), expect::kInvalidData);
  EXPECT_EQ(DecodeSessions(nullptr, 1, sessions), expect::kInvalidData);
  EXPECT_TRUE(sessions.empty());
}

TEST(Win32TerminalRecords, DecodesProcessesAndRefusesASidThatIsNone) {
  // S-1-5-21-10-20-30-500 as the API lays it out.
  std::uint8_t sid[28] = {1, 5, 0, 0, 0, 0, 0, 5};
  const std::uint32_t subs[] = {21, 10, 20, 30, 500};
  std::memcpy(sid + 8, subs, sizeof subs);
  WTS_PROCESS_INFOW records[2] = {
      {1, 4242, const_cast<wchar_t*>(L"explorer.exe"), sid},
      {0, 4, nullptr, nullptr},
  };
  std::vector<WtsProcessInfo> processes;
  ASSERT_EQ(DecodeProcesses(records, 2, processes), expect::kOk);
  ASSERT_EQ(processes.size(), 2u);
  EXPECT_EQ(processes[0].process_id, 4242u);
  EXPECT_EQ(processes[0].process_name, "explorer.exe");
  ASSERT_TRUE(processes[0].user_sid.has_value());
  EXPECT_EQ(processes[0].user_sid->ToString(), "S-1-5-21-10-20-30-500");
  EXPECT_FALSE(processes[1].user_sid.has_value());

  // A revision other than 1, more than 15 sub-authorities.
  for (const auto& [at, value] : {std::pair{0, 2}, std::pair{1, 16}}) {
    std::uint8_t bad[28];
    std::memcpy(bad, sid, sizeof bad);
    bad[at] = static_cast<std::uint8_t>(value);
    records[0].pUserSid = bad;
    EXPECT_EQ(DecodeProcesses(records, 2, processes), expect::kInvalidData);
    EXPECT_TRUE(processes.empty());
  }
  EXPECT_EQ(DecodeProcesses(records, kMaxWtsProcesses + 1, processes), expect::kInvalidData);
}

TEST(Win32TerminalRecords, DecodesEachKindOfSessionInformation) {
  const wchar_t user[] = L"J\u00f6rg";
  const DWORD build = 19045;
  const USHORT protocol = 2;
  const WTS_CLIENT_DISPLAY display{1920, 1080, 16};
  WTS_CLIENT_ADDRESS address{};
  address.AddressFamily = kAfInet;
  const std::uint8_t ipv4[] = {10, 1, 2, 3};
  std::memcpy(address.Address + 2, ipv4, sizeof ipv4);

  SessionInformation info = DecodeSessionInformation(kWtsUserName, user, sizeof user);
  EXPECT_EQ(info.status, expect::kOk);
  EXPECT_EQ(info.text, "J\xC3\xB6rg");
  EXPECT_EQ(info.bytes_returned, sizeof user);
  // Text without its terminator ends with the bytes given.
  EXPECT_EQ(DecodeSessionInformation(kWtsUserName, user, 4).text, "J\xC3\xB6");

  info = DecodeSessionInformation(kWtsClientBuildNumber, &build, 4);
  EXPECT_EQ(info.number, build);
  info = DecodeSessionInformation(kWtsClientProtocolType, &protocol, 2);
  EXPECT_EQ(info.number, 2u);
  EXPECT_EQ(info.bytes_returned, 2u);
  info = DecodeSessionInformation(kWtsClientDisplay, &display, sizeof display);
  EXPECT_EQ(info.display.horizontal_resolution, 1920u);
  EXPECT_EQ(info.display.vertical_resolution, 1080u);
  EXPECT_EQ(info.display.color_depth, 16u);
  info = DecodeSessionInformation(kWtsClientAddress, &address, sizeof address);
  EXPECT_EQ(info.address.address_family, kAfInet);
  EXPECT_TRUE(std::equal(ipv4, ipv4 + 4, info.address.address.begin() + 2));

  // No bytes is an answer without data; fewer than the record is broken.
  info = DecodeSessionInformation(kWtsClientDisplay, nullptr, 0);
  EXPECT_EQ(info.status, expect::kOk);
  EXPECT_EQ(info.bytes_returned, 0u);
  EXPECT_EQ(DecodeSessionInformation(kWtsConnectState, &build, 2).status, expect::kInvalidData);
  EXPECT_EQ(DecodeSessionInformation(kWtsClientAddress, &address, 20).status, expect::kInvalidData);
}

TEST(Win32TerminalRecords, TakesTheTimesOfAWholeWinStationRecord) {
  std::vector<std::uint8_t> record(kWinStationInformationSize);
  const auto put = [&record](std::size_t at, std::int64_t time) {
    std::memcpy(record.data() + at, &time, sizeof time);
  };
  put(80, 133500000000000001);
  put(88, 133500000000000002);
  put(96, 133500000000000003);
  put(104, 133500000000000004);
  put(1208, 133500000000000005);
  const WinStationInformationResult result =
      DecodeWinStationInformation(record, kWinStationInformationSize);
  ASSERT_EQ(result.status, expect::kOk);
  EXPECT_EQ(result.times.connect_time, 133500000000000001);
  EXPECT_EQ(result.times.disconnect_time, 133500000000000002);
  EXPECT_EQ(result.times.last_input_time, 133500000000000003);
  EXPECT_EQ(result.times.logon_time, 133500000000000004);
  EXPECT_EQ(result.times.current_time, 133500000000000005);
  EXPECT_EQ(DecodeWinStationInformation(record, 1000).status, expect::kInvalidData);
  EXPECT_EQ(DecodeWinStationInformation(record, 5000).status, expect::kInvalidData);
}

class Win32TerminalOnWine : public ::testing::Test {
 protected:
  BoundedCalls calls_{std::chrono::milliseconds(30000), CancelToken()};
  Win32TerminalServices services_{calls_};
};

TEST_F(Win32TerminalOnWine, ListsThisProcessOnThisComputer) {
  ASSERT_TRUE(services_.Libraries().terminal_services);
  const TerminalServerResult opened = services_.OpenServer("");
  ASSERT_EQ(opened.status, expect::kOk);
  const ProcessListResult list = services_.EnumerateProcesses(opened.handle, 0, 1);
  ASSERT_EQ(list.status, expect::kOk);
  const auto self =
      std::find_if(list.processes.begin(), list.processes.end(),
                   [](const WtsProcessInfo& p) { return p.process_id == ::GetCurrentProcessId(); });
  ASSERT_NE(self, list.processes.end());
  EXPECT_EQ(self->process_name, "win32_tests.exe");
  ASSERT_TRUE(self->user_sid.has_value());
  EXPECT_TRUE(self->user_sid->ToString().starts_with("S-1-5-"));
  services_.CloseServer(opened.handle);
  EXPECT_EQ(services_.EnumerateProcesses(opened.handle, 0, 1).status, expect::kInvalidHandle);
}

TEST_F(Win32TerminalOnWine, AnswersTheUserNameAndReportsFailuresAsFailures) {
  const TerminalServerResult opened = services_.OpenServer("");
  ASSERT_EQ(opened.status, expect::kOk);
  wchar_t user[256];
  DWORD size = 256;
  ASSERT_TRUE(::GetUserNameW(user, &size));
  const SessionInformation name =
      services_.QuerySessionInformation(opened.handle, WTS_CURRENT_SESSION, kWtsUserName);
  ASSERT_EQ(name.status, expect::kOk);
  EXPECT_EQ(name.text, ToUtf8(user));
  EXPECT_EQ(name.bytes_returned, size * sizeof(wchar_t));
  // Wine fails this class without setting an error: still not a success.
  EXPECT_NE(
      services_.QuerySessionInformation(opened.handle, WTS_CURRENT_SESSION, kWtsSessionId).status,
      expect::kOk);
  EXPECT_EQ(services_.QuerySessionInformation(opened.handle, 0, kWtsLastInfoClass + 1).status,
            expect::kNotSupported);
  EXPECT_EQ(services_.QueryUserConfig("", "nobody", kWtsUserConfigClassCount).status,
            expect::kInvalidParameter);
  EXPECT_EQ(services_.WinStationQueryInformation(opened.handle, 0, 7, 1216).status,
            expect::kNotSupported);
  EXPECT_EQ(services_.WinStationQueryInformation(999, 0, kWinStationInformation, 1216).status,
            expect::kInvalidHandle);
}

TEST_F(Win32TerminalOnWine, ANamedServerThatCannotBeOpenedGivesNoHandle) {
  const TerminalServerResult opened = services_.OpenServer("TABULON-NO-SUCH-HOST");
  EXPECT_NE(opened.status, expect::kOk);
  EXPECT_EQ(opened.handle, 0u);
}

}  // namespace
}  // namespace tabulon::platform::win32
