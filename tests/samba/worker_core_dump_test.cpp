// A worker holds the password and the library's copies of it: it never
// writes a core file, whatever the process that starts it allows.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/samba/samba_transport.h"
#include "samba/remote_run.h"
#include "support/fakes.h"
#include "support/process_memory.h"
#include "support/samba_server.h"

namespace tabulon::testing {
namespace {

class WorkerCoreDumps : public SambaServerSuite {};

TEST_F(WorkerCoreDumps, WorkerIsUndumpableWithNoCoreLimit) {
  // This process allows cores, written to a scratch folder.
  ScratchDir dir;
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  rlimit before{};
  ::getrlimit(RLIMIT_CORE, &before);
  const rlimit allowed{before.rlim_max, before.rlim_max};
  ::setrlimit(RLIMIT_CORE, &allowed);

  siginfo_t ended{};
  std::string limit;
  {
    platform::samba::SambaTransport transport(TestUserLogin());
    ASSERT_EQ(transport.DiskSpace("127.0.0.1", "data", "").status, win::ERROR_SUCCESS);
    const pid_t worker = transport.worker();
    ASSERT_GT(worker, 0);
    limit = CoreFileLimit(worker);
    AllowCoreFiles(worker);  // left: the worker being undumpable
    ::kill(worker, SIGABRT);
    // Seen, not reaped: the transport reaps its worker itself.
    ::waitid(P_PID, static_cast<id_t>(worker), &ended, WEXITED | WNOWAIT);
  }
  ::setrlimit(RLIMIT_CORE, &before);
  std::filesystem::current_path(previous);

  EXPECT_EQ(limit, "0 0");
  EXPECT_EQ(ended.si_code, CLD_KILLED) << "CLD_DUMPED is " << CLD_DUMPED;
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace tabulon::testing
