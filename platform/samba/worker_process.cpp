#include "platform/samba/worker_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/posix/core_dumps.h"
#include "platform/samba/rpc_worker.h"

extern char** environ;

namespace tabulon::platform::samba {
namespace {

// Where the worker finds its two descriptors.
constexpr int kSocketFd = 3;
constexpr int kParentFd = 4;

// Waits for the end of the pipe whose write end the starting process holds
// and ends the worker there. A thread of its own, which touches nothing of
// the libraries: the worker may be inside a call that takes a minute.
void EndWithParent() {
  std::thread([] {
    pollfd p{kParentFd, POLLIN, 0};
    while (::poll(&p, 1, -1) < 0 && errno == EINTR) {
    }
    ::_exit(1);
  }).detach();
}

// A descriptor moved above the ones the worker's are placed at, so that no
// placement overwrites another; still closed on exec.
int Lifted(int fd) {
  return ::fcntl(fd, F_DUPFD_CLOEXEC, kParentFd + 1);
}

class SpawnActions {
 public:
  SpawnActions() { ok_ = ::posix_spawn_file_actions_init(&actions_) == 0; }
  ~SpawnActions() {
    if (ok_) ::posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  // The worker's descriptors: /dev/null, the socket, the parent's pipe;
  // every other one closed, whether or not it is closed on exec.
  bool Place(int socket, int parent_end) {
    return ok_ && ::posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDWR, 0) == 0 &&
           ::posix_spawn_file_actions_adddup2(&actions_, 0, 1) == 0 &&
           ::posix_spawn_file_actions_adddup2(&actions_, 0, 2) == 0 &&
           ::posix_spawn_file_actions_adddup2(&actions_, socket, kSocketFd) == 0 &&
           ::posix_spawn_file_actions_adddup2(&actions_, parent_end, kParentFd) == 0 &&
           ::posix_spawn_file_actions_addclosefrom_np(&actions_, kParentFd + 1) == 0;
  }
  const posix_spawn_file_actions_t* get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_{};
  bool ok_ = false;
};

class SpawnAttributes {
 public:
  SpawnAttributes() { ok_ = ::posix_spawnattr_init(&attributes_) == 0; }
  ~SpawnAttributes() {
    if (ok_) ::posix_spawnattr_destroy(&attributes_);
  }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  // SIGINT blocked from the start, until the worker ignores it: a Ctrl-C
  // reaches the whole process group and is the parent's to handle. Every
  // other signal with its default action.
  bool Prepare() {
    sigset_t mask;
    sigset_t defaults;
    ::sigemptyset(&mask);
    ::sigaddset(&mask, SIGINT);
    ::sigfillset(&defaults);
    ::sigdelset(&defaults, SIGINT);
    return ok_ && ::posix_spawnattr_setsigmask(&attributes_, &mask) == 0 &&
           ::posix_spawnattr_setsigdefault(&attributes_, &defaults) == 0 &&
           ::posix_spawnattr_setflags(&attributes_,
                                      POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;
  }
  const posix_spawnattr_t* get() const { return &attributes_; }

 private:
  posix_spawnattr_t attributes_{};
  bool ok_ = false;
};

void CloseAll(std::initializer_list<int> fds) {
  for (const int fd : fds) {
    if (fd >= 0) ::close(fd);
  }
}

}  // namespace

bool IsWorkerCommand(int argc, char** argv) {
  return argc == 2 && argv[1] == kWorkerSwitch;
}

void RunWorkerProcess() {
  // Before the logon arrives: no core file, no access through /proc or a
  // debugger (an exec made the process dumpable again).
  if (!DisableCoreDumps().empty()) ::_exit(1);
  ::signal(SIGINT, SIG_IGN);
  ::signal(SIGPIPE, SIG_IGN);
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  if (::fcntl(kSocketFd, F_GETFD) < 0 || ::fcntl(kParentFd, F_GETFD) < 0) ::_exit(1);
  ::close_range(kParentFd + 1, UINT_MAX, 0);
  EndWithParent();
  RunRpcWorker(kSocketFd);
}

win::Status SpawnWorker(StartedWorker& started) {
  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
    return win::StatusFromErrno(errno);
  }
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) {
    const int error = errno;
    CloseAll({pair[0], pair[1]});
    return win::StatusFromErrno(error);
  }
  // The worker's ends, lifted clear of 3 and 4; the originals are closed at
  // once.
  const int child_socket = Lifted(pair[1]);
  const int child_parent_end = Lifted(pipe_fds[0]);
  CloseAll({pair[1], pipe_fds[0]});
  int error = (child_socket < 0 || child_parent_end < 0) ? errno : 0;

  SpawnActions actions;
  SpawnAttributes attributes;
  std::error_code ec;
  const std::string program = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  std::string name = program.empty() ? std::string("tabulon") : program;
  std::string worker_switch(kWorkerSwitch);
  char* const argv[] = {name.data(), worker_switch.data(), nullptr};
  pid_t pid = -1;
  if (error == 0) {
    if (!actions.Place(child_socket, child_parent_end) || !attributes.Prepare()) {
      error = ENOMEM;
    } else {
      error = ::posix_spawn(&pid, "/proc/self/exe", actions.get(), attributes.get(), argv, environ);
    }
  }
  CloseAll({child_socket, child_parent_end});
  if (error != 0) {
    CloseAll({pair[0], pipe_fds[1]});
    return win::StatusFromErrno(error);
  }
  started.pid = pid;
  started.socket = pair[0];
  started.parent_end = pipe_fds[1];
  return win::ERROR_SUCCESS;
}

}  // namespace tabulon::platform::samba
