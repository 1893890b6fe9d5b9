#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "app/system.h"
#include "app/usage.h"
#include "platform/posix/core_dumps.h"
#include "platform/samba/worker_process.h"

namespace tabulon::app {
namespace {

// A signal handler may only touch lock-free atomics: this pointer, set
// while the program's control exists, and the control's own flags.
std::atomic<RunControl*> g_control{nullptr};
static_assert(std::atomic<RunControl*>::is_always_lock_free);

void OnSignal(int) {
  if (RunControl* control = g_control.load()) control->Escalate();
}

}  // namespace

std::string DisableCrashDumps() {
  // The workers the run starts inherit the limit.
  return platform::DisableCoreDumps();
}

// A program started with 0, 1 or 2 closed would hand that number to the
// first file it opens, and messages for standard error would land in an
// output file.
void ReserveStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = ::open("/dev/null", O_RDWR);
    if (opened < 0) std::_Exit(kExitUsage);
    if (opened != fd) {
      ::dup2(opened, fd);
      ::close(opened);
    }
  }
}

bool StandardErrorIsTerminal() {
  return ::isatty(STDERR_FILENO) != 0;
}

std::string ProgramPath(const char* argv0) {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(argv0) : self.string();
}

StopRequests::StopRequests(RunControl& control) {
  g_control.store(&control);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
}

StopRequests::~StopRequests() {
  g_control.store(nullptr);
}

}  // namespace tabulon::app

int main(int argc, char** argv) {
  // The program run again as a remote transport's worker (hidden switch).
  if (tabulon::platform::samba::IsWorkerCommand(argc, argv)) {
    tabulon::platform::samba::RunWorkerProcess();
  }
  return tabulon::app::Main(argc, argv);
}
