// Terminal services of the estate backend: what each call answers, and
// what a closed or unreachable server answers.
#include <gtest/gtest.h>

#include <string>

#include "sample_estate.h"

namespace tabulon::estate {
namespace {

using platform::TerminalServerHandle;

constexpr std::string_view kEstate = R"json({
  "computers": [
    {"name": "TS01", "address": "192.0.2.50", "terminal_services": {
      "current_time": "2026-03-05T14:07:09Z",
      "sessions": [
        {"id": 1, "station": "Console", "state": "WTSActive", "user": "admin",
         "client_name": "TAPROOM3", "client_build": 22621, "client_product_id": 65535,
         "protocol": "RDP", "display": {"horizontal": 1920, "vertical": 1080, "color_depth": 8},
         "address": {"family": "AF_INET", "address": "192.168.1.20"},
         "logon_time": "2026-03-05T08:00:00Z", "connect_time": "133860000000000000",
         "disconnect_time": null, "last_input_time": 0},
        {"id": 2, "station": "RDP-Tcp#1", "state": "disconnected",
         "address": {"family": 23, "address": "fe80::1"},
         "unanswered": ["client_name", 9],
         "failures": {"WinStationQueryInformation": {"status": "ERROR_ACCESS_DENIED",
                                                     "after_calls": 1}}}
      ]}},
    {"name": "DOWN", "offline": true}
  ]
})json";

class EstateTerminalServicesTest : public ::testing::Test {
 protected:
  void SetUp() override { Use(kEstate); }
  void TearDown() override {
    EXPECT_EQ(platform_->OpenHandles(), 0u)
        << ::testing::PrintToString(platform_->DescribeOpenHandles());
  }
  void Use(std::string_view text) {
    platform_.reset();  // a session must close before its backend goes
    backend_ = testing::BackendFrom(text);
    backend_->call_log().SetEnabled(true);
    platform_ = backend_->OpenSession("");
    ts_ = &platform_->terminal();
  }
  TerminalServerHandle Open(std::string_view name) {
    const auto opened = ts_->OpenServer(name);
    EXPECT_EQ(opened.status, win::ERROR_SUCCESS) << name;
    EXPECT_NE(opened.handle, 0u) << name;
    return opened.handle;
  }

  std::unique_ptr<EstateBackend> backend_;
  std::unique_ptr<EstateSession> platform_;
  platform::TerminalServices* ts_ = nullptr;
};

TEST_F(EstateTerminalServicesTest, InformationClassesAnswerWithWindowsByteCounts) {
  const auto server = Open("192.0.2.50");
  struct Case {
    std::uint32_t session;
    std::uint32_t info_class;
    win::Status status;
    std::uint32_t bytes;
    std::string text;
    std::uint32_t number;
  };
  const Case cases[] = {
      {1, platform::kWtsClientName, win::ERROR_SUCCESS, 18, "TAPROOM3", 0},
      {1, platform::kWtsOemId, win::ERROR_SUCCESS, 2, "", 0},  // just the terminator
      {1, platform::kWtsClientBuildNumber, win::ERROR_SUCCESS, 4, "", 22621},
      {1, platform::kWtsClientProductId, win::ERROR_SUCCESS, 2, "", 65535},
      {1, platform::kWtsClientDisplay, win::ERROR_SUCCESS, 12, "", 0},
      {1, platform::kWtsClientAddress, win::ERROR_SUCCESS, 24, "", 0},
      // "unanswered" classes succeed without bytes.
      {2, platform::kWtsClientBuildNumber, win::ERROR_SUCCESS, 0, "", 0},
      {2, 17, win::ERROR_NOT_SUPPORTED, 0, "", 0},
      {9, platform::kWtsUserName, win::ERROR_CTX_WINSTATION_NOT_FOUND, 0, "", 0},
  };
  for (const Case& c : cases) {
    const auto info = ts_->QuerySessionInformation(server, c.session, c.info_class);
    const std::string where =
        "session " + std::to_string(c.session) + " class " + std::to_string(c.info_class);
    EXPECT_EQ(info.status, c.status) << where;
    EXPECT_EQ(info.bytes_returned, c.bytes) << where;
    EXPECT_EQ(info.text, c.text) << where;
    EXPECT_EQ(info.number, c.number) << where;
  }
  ts_->CloseServer(server);
}

TEST_F(EstateTerminalServicesTest, WindowStationTimesCarryTheServerClock) {
  const auto server = Open("TS01");
  const auto times = ts_->WinStationQueryInformation(server, 1, platform::kWinStationInformation,
                                                     platform::kWinStationInformationSize);
  ASSERT_EQ(times.status, win::ERROR_SUCCESS);
  EXPECT_EQ(times.returned_length, 1216u);
  // A time given as a raw FILETIME number, and one given as null.
  EXPECT_EQ(times.times.connect_time, 133860000000000000);
  EXPECT_EQ(times.times.disconnect_time, 0);

  EXPECT_EQ(ts_->WinStationQueryInformation(server, 1, 8, 1215).status,
            win::ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(ts_->WinStationQueryInformation(server, 1, 27, 1216).status, win::ERROR_NOT_SUPPORTED);
  EXPECT_EQ(ts_->WinStationQueryInformation(server, 5, 8, 1216).status,
            win::ERROR_CTX_WINSTATION_NOT_FOUND);
  // Session 2 answers once, then its injected failure starts.
  EXPECT_EQ(ts_->WinStationQueryInformation(server, 2, 8, 1216).status, win::ERROR_SUCCESS);
  EXPECT_EQ(ts_->WinStationQueryInformation(server, 2, 8, 1216).status, win::ERROR_ACCESS_DENIED);
  ts_->CloseServer(server);

  // Without a current_time the server's clock is the real one.
  Use(R"({"computers": [{"name": "A", "terminal_services": {"sessions": [{"id": 0}]}}]})");
  const auto a = Open("A");
  const auto now = ts_->WinStationQueryInformation(a, 0, 8, 1216);
  EXPECT_GT(now.times.current_time, 134171932290000000);  // later than this test was written
  ts_->CloseServer(a);
}

TEST_F(EstateTerminalServicesTest, UnreachableServersOpenButDoNotAnswer) {
  // Opening is local; the first call through the handle finds out.
  for (const char* name : {"\\\\NOWHERE", "DOWN"}) {
    const auto server = Open(name);
    EXPECT_EQ(ts_->EnumerateSessions(server, 0, 1).status, win::RPC_S_SERVER_UNAVAILABLE) << name;
    EXPECT_EQ(ts_->EnumerateProcesses(server, 0, 1).status, win::RPC_S_SERVER_UNAVAILABLE) << name;
    EXPECT_EQ(ts_->QuerySessionInformation(server, 1, 5).status, win::RPC_S_SERVER_UNAVAILABLE);
    EXPECT_EQ(ts_->WinStationQueryInformation(server, 1, 8, 1216).status,
              win::RPC_S_SERVER_UNAVAILABLE);
    ts_->CloseServer(server);
  }
  // A closed or made-up handle is no handle.
  const auto server = Open("TS01");
  ts_->CloseServer(server);
  EXPECT_EQ(ts_->EnumerateSessions(server, 0, 1).status, win::ERROR_INVALID_HANDLE);
  EXPECT_EQ(ts_->QuerySessionInformation(0, 1, 5).status, win::ERROR_INVALID_HANDLE);
  EXPECT_EQ(ts_->WinStationQueryInformation(12345, 1, 8, 1216).status, win::ERROR_INVALID_HANDLE);
}

}  // namespace
}  // namespace tabulon::estate
