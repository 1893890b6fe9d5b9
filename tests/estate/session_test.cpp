// Sessions of the estate backend: latency as each session's timeout and
// cancel token allow, handles left open, sessions on threads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "sample_estate.h"

namespace tabulon::estate {
namespace {

using std::chrono::milliseconds;

milliseconds TimeOf(const std::function<void()>& call) {
  const auto start = std::chrono::steady_clock::now();
  call();
  return std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
}

TEST(EstateLatency, RemoteCallsSleepForTheEstateOrComputerLatency) {
  auto backend = testing::BackendFrom(R"({"latency_ms": 30, "ping_waits": true,
      "computers": [{"name": "SLOW"}, {"name": "FAST", "latency_ms": 0},
                    {"name": "ECHO", "ping": {"delay_ms": 25}}]})");
  platform::Platform p;
  backend->Attach(p);
  auto s = backend->OpenSession("SLOW");
  EXPECT_GE(TimeOf([&] { s->server().NetServerGetInfo101("SLOW"); }).count(), 30);
  EXPECT_GE(TimeOf([&] { s->server().NetServerGetInfo101("NOSUCH"); }).count(), 30)
      << "an unknown name costs a round trip too";
  EXPECT_LT(TimeOf([&] { s->server().NetServerGetInfo101("FAST"); }).count(), 30);
  EXPECT_GE(TimeOf([&] {
              EXPECT_TRUE(p.icmp->RawEcho({"ECHO", 30, 100, 32}).success);
            }).count(),
            25);
  EXPECT_GE(TimeOf([&] {
              EXPECT_FALSE(p.icmp->RawEcho({"192.0.2.99", 30, 40, 32}).success);
            }).count(),
            40)
      << "no answer waits the whole timeout";
}

// Every computer here takes far longer to answer than the sessions allow.
constexpr std::string_view kSlowEstate = R"({"latency_ms": 3000,
    "domains": [{"name": "D", "controller": "SLOW"}],
    "computers": [{"name": "SLOW", "domain": "D"}]})";

struct FamilyCall {
  const char* family;
  std::function<win::Status(platform::TargetSession&)> call;
};

// One call of each family, addressed to SLOW or its domain.
const std::vector<FamilyCall>& CallOfEachFamily() {
  static const std::vector<FamilyCall> calls = {
      {"server", [](auto& s) { return s.server().NetServerGetInfo101("\\\\SLOW").status; }},
      {"workstation",
       [](auto& s) {
         return s.workstation().NetWkstaTransportEnum0("SLOW", 0xFFFFFFFF, 0).status;
       }},
      {"browser",
       [](auto& s) { return s.browser().NetServerEnum101("D", 0xFFFFFFFF, 0xFFFFFFFF, 0).status; }},
      {"accounts", [](auto& s) { return s.accounts().NetGetDCName("SLOW", "").status; }},
      {"services", [](auto& s) { return s.services().OpenSCManager("SLOW", 4).status; }},
      {"registry",
       [](auto& s) {
         return s.registry().ConnectRegistry("SLOW", platform::kHkeyLocalMachine).status;
       }},
      {"printing",
       [](auto& s) {
         return s.printing().EnumPrinters(platform::kPrinterEnumName, "\\\\SLOW", 2, 0).status;
       }},
      {"terminal", [](auto& s) { return s.terminal().QueryUserConfig("SLOW", "u", 0).status; }},
      {"files", [](auto& s) { return s.files().GetDiskFreeSpaceEx("\\\\SLOW\\C$\\").status; }},
      {"lookup",
       [](auto& s) {
         return s.lookup().LookupAccountSid("SLOW", platform::Sid{1, 5, {18}}).status;
       }},
      {"directory", [](auto& s) { return s.directory().DsGetDcName("D", 0).status; }},
      {"remote access",
       [](auto& s) { return s.remote_access().MprAdminUserGetInfo("SLOW", "u", 0).status; }},
  };
  return calls;
}

TEST(EstateSession, LatencyAboveTheCallTimeoutGivesTimeoutInEveryFamily) {
  auto backend = testing::BackendFrom(kSlowEstate);
  platform::SessionOptions options;
  options.call_timeout_ms = 20;
  auto session = backend->Open("SLOW", options);
  for (const FamilyCall& c : CallOfEachFamily()) {
    win::Status status = 0;
    const milliseconds took = TimeOf([&] { status = c.call(*session); });
    EXPECT_EQ(status, win::ERROR_TIMEOUT) << c.family;
    EXPECT_GE(took.count(), 20) << c.family << ": waits the timeout";
    EXPECT_LT(took.count(), 2000) << c.family << ": and no longer";
  }
}

TEST(EstateSession, SetCancelTokenEndsEveryFamilysCallAtOnce) {
  auto backend = testing::BackendFrom(kSlowEstate);
  const std::atomic<int> stop{1};
  platform::SessionOptions options;
  options.cancel = platform::CancelToken(&stop);
  auto session = backend->Open("SLOW", options);
  for (const FamilyCall& c : CallOfEachFamily()) {
    win::Status status = 0;
    const milliseconds took = TimeOf([&] { status = c.call(*session); });
    EXPECT_EQ(status, win::ERROR_CANCELLED) << c.family;
    EXPECT_LT(took.count(), 1000) << c.family;
  }
}

TEST(EstateSession, CancelTokenSetDuringACallEndsIt) {
  auto backend = testing::BackendFrom(kSlowEstate);
  std::atomic<int> stop{0};
  platform::SessionOptions options;
  options.cancel = platform::CancelToken(&stop);
  auto session = backend->Open("SLOW", options);
  std::thread stopper([&] {
    std::this_thread::sleep_for(milliseconds(30));
    stop = 1;
  });
  win::Status status = 0;
  const milliseconds took =
      TimeOf([&] { status = session->server().NetServerGetInfo101("SLOW").status; });
  stopper.join();
  EXPECT_EQ(status, win::ERROR_CANCELLED);
  EXPECT_LT(took.count(), 1000) << "the 3 s round trip is not waited out";
}

TEST(EstateSession, HandlesLeftOpenAreCountedWhenTheSessionCloses) {
  auto backend = testing::SampleBackend();
  {
    auto tidy = backend->OpenSession("\\\\FWWS01");
    const auto manager = tidy->services().OpenSCManager("\\\\FWWS01", 4);
    tidy->services().CloseServiceHandle(manager.handle);
  }
  EXPECT_EQ(backend->LeakedHandles(), 0u);
  {
    auto careless = backend->OpenSession("\\\\FWSRV01");
    const auto manager = careless->services().OpenSCManager("\\\\fwsrv01", 4);
    careless->services().OpenService(manager.handle, "Backup", 1);
    careless->registry().ConnectRegistry("FWSRV01", platform::kHkeyUsers);
    careless->terminal().OpenServer("FWSRV01");
    EXPECT_EQ(careless->OpenHandles(), 4u);
  }
  EXPECT_EQ(backend->LeakedHandles(), 4u);
  EXPECT_EQ(backend->DescribeLeakedHandles().size(), 4u);
}

TEST(EstateSession, SessionsOnTwoThreadsEachGetTheirData) {
  auto backend = testing::SampleBackend();
  backend->call_log().SetEnabled(true);
  const auto enumerate = [&](const char* computer, std::size_t& services) {
    auto session = backend->OpenSession(computer);
    for (int round = 0; round < 50; ++round) {
      const auto manager = session->services().OpenSCManager(computer, 4);
      services =
          session->services().EnumServicesStatus(manager.handle, 0x33, 3, 65536, 0).services.size();
      session->services().CloseServiceHandle(manager.handle);
    }
  };
  std::size_t workstation = 0;
  std::size_t server = 0;
  std::thread first(enumerate, "FWWS01", std::ref(workstation));
  std::thread second(enumerate, "FWSRV01", std::ref(server));
  first.join();
  second.join();
  EXPECT_EQ(workstation, 4u);
  EXPECT_EQ(server, 2u);
  EXPECT_EQ(backend->call_log().Count("EnumServicesStatus"), 100u);
  EXPECT_EQ(backend->LeakedHandles(), 0u);
}

}  // namespace
}  // namespace tabulon::estate
