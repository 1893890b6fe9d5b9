// The transport against a real smbd and against servers that refuse or never
// answer, all on loopback addresses of the test's own network namespace.
#include "platform/samba/samba_transport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <thread>

#include "samba/tcp_proxy.h"
#include "support/samba_server.h"
#include "support/server_required.h"

namespace tabulon::platform::samba {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::SambaServer;

// srvsvc 4b324fc8-1670-01d3-1278-5a47bf6ee188 version 3.0.
constexpr remote::RpcInterface kSrvsvc{"srvsvc",
                                       {0x4b, 0x32, 0x4f, 0xc8, 0x16, 0x70, 0x01, 0xd3, 0x12, 0x78,
                                        0x5a, 0x47, 0xbf, 0x6e, 0xe1, 0x88},
                                       3,
                                       0};
constexpr std::uint16_t kNetrServerGetInfo = 21;

// NetrServerGetInfo(ServerName = L"\\127.0.0.1", Level = 101) in NDR 2.0:
// ServerName is a unique pointer to a conformant varying wide string.
constexpr std::uint8_t kGetInfo101[] = {
    0x00, 0x00, 0x02, 0x00,  // referent id of the unique pointer
    0x0c, 0x00, 0x00, 0x00,  // maximum count: 12 characters with the NUL
    0x00, 0x00, 0x00, 0x00,  // offset
    0x0c, 0x00, 0x00, 0x00,  // actual count
    '\\', 0,    '\\', 0,    '1', 0, '2', 0, '7', 0, '.', 0,  // UTF-16LE
    '0',  0,    '.',  0,    '0', 0, '.', 0, '1', 0, 0,   0,  // 24 bytes: already 4-aligned
    0x65, 0x00, 0x00, 0x00,                                  // Level 101
};

std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

// The test user with the right password, or with a wrong one.
SessionOptions Login(bool right_password, std::uint32_t timeout_ms = 20000) {
  static const Credentials right{testing::kSambaUser, Secret(testing::kSambaPassword), ""};
  static const Credentials wrong{testing::kSambaUser, Secret("not the password"), ""};
  SessionOptions options;
  options.credentials = right_password ? &right : &wrong;
  options.call_timeout_ms = timeout_ms;
  return options;
}

bool ProcessGone(pid_t pid) {
  return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// A server that accepts TCP connections (the kernel does, from the backlog)
// and never reads or answers.
class SilentListener {
 public:
  SilentListener(const char* address, std::uint16_t port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(port);
    ::inet_pton(AF_INET, address, &at.sin_addr);
    ok_ = ::bind(fd_, reinterpret_cast<const sockaddr*>(&at), sizeof at) == 0 &&
          ::listen(fd_, 16) == 0;
  }
  ~SilentListener() { ::close(fd_); }
  bool ok() const { return ok_; }

 private:
  int fd_ = -1;
  bool ok_ = false;
};

constexpr const char* kSilentAddress = "127.0.0.3";
constexpr std::uint16_t kSilentPort = 4455;

class SambaTransportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string& why_not = testing::IsolateNetwork(); !why_not.empty()) {
      SKIP_WITHOUT_SERVER(why_not);
    }
  }
  // The shared server of this test program, started on first use. Its first
  // RPC starts the server's RPC helpers (about 2 s), so it is made here and
  // the tests' timeouts need not allow for it.
  static SambaServer* Server() {
    if (!server_ && why_not_.empty()) {
      server_ = SambaServer::Start(why_not_);
      if (server_) {
        SambaTransport warm_up(Login(true));
        warm_up.Call("127.0.0.1", kSrvsvc, kNetrServerGetInfo, kGetInfo101);
      }
    }
    return server_.get();
  }
  static void TearDownTestSuite() { server_.reset(); }

  static std::unique_ptr<SambaServer> server_;
  static std::string why_not_;
};
std::unique_ptr<SambaServer> SambaTransportTest::server_;
std::string SambaTransportTest::why_not_;

#define REQUIRE_SERVER()                                    \
  do {                                                      \
    if (Server() == nullptr) SKIP_WITHOUT_SERVER(why_not_); \
  } while (false)

TEST_F(SambaTransportTest, ServerInfoThroughOneWorkerThatEndsWithTheTransport) {
  REQUIRE_SERVER();
  pid_t worker = -1;
  {
    SambaTransport transport(Login(true));
    for (const char* server : {"\\\\127.0.0.1", "127.0.0.1"}) {
      const remote::RpcReply reply =
          transport.Call(server, kSrvsvc, kNetrServerGetInfo, kGetInfo101);
      ASSERT_EQ(reply.status, win::ERROR_SUCCESS) << server;
      ASSERT_GE(reply.stub.size(), 16u);
      EXPECT_EQ(U32At(reply.stub, 0), 101u);                    // the union's level
      EXPECT_EQ(U32At(reply.stub, 8), 500u);                    // sv101_platform_id: PLATFORM_ID_NT
      EXPECT_EQ(U32At(reply.stub, reply.stub.size() - 4), 0u);  // WERROR
      if (worker == -1) worker = transport.worker();
      EXPECT_EQ(transport.worker(), worker) << "the pipe and its worker are reused";
    }
  }
  EXPECT_TRUE(ProcessGone(worker));
}

std::string ProcFile(pid_t pid, const char* name) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Running, not a zombie its parent has not reaped.
bool Running(pid_t pid) {
  const std::string stat = ProcFile(pid, "stat");
  const std::size_t end = stat.rfind(')');
  return end != std::string::npos && end + 2 < stat.size() && stat[end + 2] != 'Z';
}

// Waits until `pid`, a child of this process, ends; whether it did in time.
bool Reaped(pid_t pid, std::chrono::milliseconds limit) {
  const auto until = Clock::now() + limit;
  while (Clock::now() < until) {
    if (::waitpid(pid, nullptr, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(10ms);
  }
  return false;
}

// A worker lives as long as the process that started it, not the thread:
// here a thread other than the main one starts it and ends; the worker goes
// on serving the transport until the process is killed, and then ends by
// itself. It holds its socket, its parent's pipe and /dev/null, none of the
// descriptors its parent had open, and its logon arrived in neither its
// arguments nor its environment.
TEST_F(SambaTransportTest, AWorkerEndsWithTheProcessThatStartedItNotTheThread) {
  // The worker, once its parent is gone, becomes this process's child.
  ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
  int report[2];
  ASSERT_EQ(::pipe2(report, O_CLOEXEC), 0);
  const pid_t parent = ::fork();
  ASSERT_GE(parent, 0);
  if (parent == 0) {
    ::open("/dev/zero", O_RDONLY);  // inherited by anything that does not close it
    std::unique_ptr<SambaTransport> transport;
    std::thread([&transport] {
      transport = std::make_unique<SambaTransport>(Login(true, 5000));
      transport->Call("127.0.0.2", kSrvsvc, kNetrServerGetInfo, kGetInfo101);  // refused
    }).join();
    const pid_t worker = transport->worker();
    if (::write(report[1], &worker, sizeof worker) != sizeof worker) ::_exit(1);
    ::pause();
    ::_exit(0);
  }
  ::close(report[1]);
  pid_t worker = -1;
  EXPECT_EQ(::read(report[0], &worker, sizeof worker), static_cast<ssize_t>(sizeof worker));
  ::close(report[0]);
  if (worker > 0) {
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(Running(worker)) << "ended with the thread that started it";
    std::set<std::string> open;
    const std::string fds = "/proc/" + std::to_string(worker) + "/fd";
    for (const auto& fd : std::filesystem::directory_iterator(fds)) {
      open.insert(std::filesystem::read_symlink(fd.path()).string());
    }
    EXPECT_FALSE(open.contains("/dev/zero"));
    EXPECT_TRUE(open.contains("/dev/null"));
    for (const char* name : {"cmdline", "environ"}) {
      EXPECT_EQ(ProcFile(worker, name).find(testing::kSambaPassword), std::string::npos) << name;
    }
  }
  ::kill(parent, SIGKILL);
  ::waitpid(parent, nullptr, 0);
  if (worker > 0) {
    EXPECT_TRUE(Reaped(worker, 5s)) << "outlived its parent";
  }
  ::prctl(PR_SET_CHILD_SUBREAPER, 0);
}

TEST_F(SambaTransportTest, WrongPasswordIsALogonFailure) {
  REQUIRE_SERVER();
  SambaTransport transport(Login(false));
  EXPECT_EQ(transport.Call("127.0.0.1", kSrvsvc, kNetrServerGetInfo, kGetInfo101).status,
            win::ERROR_LOGON_FAILURE);
}

TEST_F(SambaTransportTest, NothingListeningIsABadNetworkPath) {
  SambaTransport transport(Login(true, 5000));
  const auto started = Clock::now();
  EXPECT_EQ(transport.Call("127.0.0.2", kSrvsvc, kNetrServerGetInfo, kGetInfo101).status,
            win::ERROR_BAD_NETPATH);
  EXPECT_LT(Clock::now() - started, 1s);
}

// The first call on a connection is made twice, each within the timeout.
TEST_F(SambaTransportTest, SilentServerTimesOutKillsTheWorkerAndTheNextCallWorks) {
  SilentListener silent(kSilentAddress, kSilentPort);
  ASSERT_TRUE(silent.ok());
  SambaTransport transport(Login(true, 1500), kSilentPort);
  const auto started = Clock::now();
  EXPECT_EQ(transport.Call(kSilentAddress, kSrvsvc, kNetrServerGetInfo, kGetInfo101).status,
            win::ERROR_TIMEOUT);
  const auto took = Clock::now() - started;
  EXPECT_GE(took, 3000ms);
  EXPECT_LT(took, 4500ms);
  EXPECT_EQ(transport.worker(), -1);
}

// The processes this process has started and not yet reaped.
std::set<pid_t> Children() {
  std::ifstream in("/proc/self/task/" + std::to_string(::getpid()) + "/children");
  std::set<pid_t> pids;
  for (pid_t pid = 0; in >> pid;) pids.insert(pid);
  return pids;
}

// A server that takes longer than the timeout to answer the first call on a
// connection (one starting the helper that serves the pipe) gets that call
// once more, on a new connection; later calls on the connection get no
// second chance. The server here is frozen until the first worker has been
// killed, so the first attempt always times out and the second never does.
TEST_F(SambaTransportTest, AFirstCallThatTimesOutIsMadeOnceMoreOnANewConnection) {
  REQUIRE_SERVER();
  constexpr auto kTimeout = 2000ms;
  SambaTransport transport(Login(testing::kSambaPassword, kTimeout.count()));
  const std::set<pid_t> before = Children();
  Server()->Freeze(true);
  std::thread thaw([&] {
    pid_t first = -1;
    const auto until = Clock::now() + 10s;
    while (Clock::now() < until) {
      const std::set<pid_t> now = Children();
      if (first == -1) {
        for (const pid_t pid : now) {
          if (!before.contains(pid)) first = pid;
        }
      } else if (!now.contains(first)) {
        break;
      }
      std::this_thread::sleep_for(10ms);
    }
    Server()->Freeze(false);
  });
  auto started = Clock::now();
  EXPECT_EQ(transport.Call("127.0.0.1", kSrvsvc, kNetrServerGetInfo, kGetInfo101).status,
            win::ERROR_SUCCESS);
  auto took = Clock::now() - started;
  thaw.join();
  EXPECT_GE(took, kTimeout);
  EXPECT_LT(took, 2 * kTimeout);

  Server()->Freeze(true);
  started = Clock::now();
  EXPECT_EQ(transport.Call("127.0.0.1", kSrvsvc, kNetrServerGetInfo, kGetInfo101).status,
            win::ERROR_TIMEOUT);
  took = Clock::now() - started;
  Server()->Freeze(false);
  EXPECT_GE(took, kTimeout);
  EXPECT_LT(took, 2 * kTimeout);
}

TEST_F(SambaTransportTest, CallAfterATimeoutStartsANewWorker) {
  REQUIRE_SERVER();
  // Port 445 hangs on one address; smbd answers on the other.
  SilentListener silent(kSilentAddress, kSmbPort);
  ASSERT_TRUE(silent.ok());
  SambaTransport transport(Login(true, 2000));
  EXPECT_EQ(transport.Call(kSilentAddress, kSrvsvc, kNetrServerGetInfo, kGetInfo101).status,
            win::ERROR_TIMEOUT);
  EXPECT_EQ(transport.Call("127.0.0.1", kSrvsvc, kNetrServerGetInfo, kGetInfo101).status,
            win::ERROR_SUCCESS);
  EXPECT_NE(transport.worker(), -1);
}

TEST_F(SambaTransportTest, CancelEndsAHangingCallPromptly) {
  SilentListener silent(kSilentAddress, kSilentPort);
  ASSERT_TRUE(silent.ok());
  std::atomic<int> stop{0};
  SessionOptions options = Login(true, 30000);
  options.cancel = CancelToken(&stop);
  SambaTransport transport(options, kSilentPort);
  std::thread stopper([&] {
    std::this_thread::sleep_for(300ms);
    stop = 1;
  });
  const auto started = Clock::now();
  const win::Status status =
      transport.Call(kSilentAddress, kSrvsvc, kNetrServerGetInfo, kGetInfo101).status;
  const auto took = Clock::now() - started;
  stopper.join();
  EXPECT_EQ(status, win::ERROR_CANCELLED);
  EXPECT_LT(took, 1s);
  EXPECT_EQ(transport.worker(), -1);
}

// A connection that breaks, or a server that goes away, is reported with
// the network status a Windows client gets: a call on a connection reset
// since the last one fails as the RPC runtime fails it, and the next call
// connects afresh; a listing whose connection is reset under it has lost
// its network name; a server no longer listening cannot be found.
TEST_F(SambaTransportTest, ABrokenConnectionIsTheNetworkStatusAWindowsClientSees) {
  REQUIRE_SERVER();
  // A directory whose listing takes several hundred KiB of replies.
  const std::string many = Server()->folder() + "/data/many";
  ASSERT_TRUE(::mkdir(many.c_str(), 0755) == 0 || errno == EEXIST);
  for (int i = 0; i < 3000; ++i) {
    testing::WriteFile(many + "/a-file-with-a-rather-long-name-" + std::to_string(i), "");
  }
  testing::TcpProxy proxy("127.0.0.5", kSmbPort, "127.0.0.1", kSmbPort);
  ASSERT_TRUE(proxy.ok());
  SambaTransport transport(Login(testing::kSambaPassword));
  const auto call = [&] {
    return transport.Call("127.0.0.5", kSrvsvc, kNetrServerGetInfo, kGetInfo101).status;
  };
  EXPECT_EQ(call(), win::ERROR_SUCCESS);
  proxy.ResetConnections();
  EXPECT_EQ(call(), win::RPC_S_CALL_FAILED);
  EXPECT_EQ(call(), win::ERROR_SUCCESS);

  EXPECT_EQ(transport.ListDirectory("127.0.0.5", "data", "many").items.size(), 3002u);
  proxy.ResetAfter(100000);
  EXPECT_EQ(transport.ListDirectory("127.0.0.5", "data", "many").status,
            win::ERROR_NETNAME_DELETED);
  proxy.ResetAfter(0);
  EXPECT_EQ(transport.ListDirectory("127.0.0.5", "data", "many").status, win::ERROR_SUCCESS);

  proxy.Stop();
  EXPECT_EQ(call(), win::RPC_S_CALL_FAILED);
  EXPECT_EQ(call(), win::ERROR_BAD_NETPATH);
  // The file connection breaks too; the request that finds it so may say
  // that, as on Windows, before the server is found to be gone.
  win::Status listed = transport.ListDirectory("127.0.0.5", "data", "").status;
  if (listed == win::ERROR_NETNAME_DELETED) {
    listed = transport.ListDirectory("127.0.0.5", "data", "").status;
  }
  EXPECT_EQ(listed, win::ERROR_BAD_NETPATH);
}

}  // namespace
}  // namespace tabulon::platform::samba
