#include "support/server_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace tabulon::testing {
namespace {

using Clock = std::chrono::steady_clock;

// The forked keeper: the daemon runs as the first process of a new PID
// namespace, so that the helpers it starts (some detach themselves) end with
// it. The keeper hands SIGTERM on and exits when the daemon does.
[[noreturn]] void RunInOwnPidNamespace(const std::vector<std::string>& args,
                                       const std::string& log) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  // Samba's daemons signal their whole process group when they end: that
  // must not reach the test program.
  ::setpgid(0, 0);
  if (::unshare(CLONE_NEWPID) != 0) ::_exit(126);
  sigset_t term;
  sigemptyset(&term);
  sigaddset(&term, SIGTERM);
  ::sigprocmask(SIG_BLOCK, &term, nullptr);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  // A daemon in the foreground ends when its standard input does (smbd does,
  // as it takes that for its parent's end): it reads a pipe only the keeper
  // holds open, whatever the test program's own input is.
  int input[2];
  if (::pipe2(input, O_CLOEXEC) != 0) ::_exit(126);
  const pid_t daemon = ::fork();
  if (daemon < 0) ::_exit(126);
  if (daemon == 0) {
    // The daemon ends with the keeper however the keeper ends, and its
    // namespace with it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::sigprocmask(SIG_UNBLOCK, &term, nullptr);
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ::dup2(input[0], 0);
    ::dup2(out, 1);
    ::dup2(out, 2);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  for (;;) {
    timespec slice{0, 20 * 1000 * 1000};
    siginfo_t info{};
    if (::sigtimedwait(&term, &info, &slice) == SIGTERM) ::kill(daemon, SIGTERM);
    int status = 0;
    // The keeper ends as the daemon did: its exit status, or 128 and the
    // signal that ended it.
    if (::waitpid(daemon, &status, WNOHANG) == daemon) {
      ::_exit(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    }
  }
}

}  // namespace

std::string MakeTempFolder(const char* prefix) {
  namespace fs = std::filesystem;
  std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
  return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Errno(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

bool Accepts(const char* address, std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  ::inet_pton(AF_INET, address, &to.sin_addr);
  const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0;
  ::close(fd);
  return ok;
}

int RunCommand(const std::string& command, std::string& output) {
  output.clear();
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) {
    output = Errno("popen");
    return -1;
  }
  std::array<char, 4096> chunk{};
  while (const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), pipe)) {
    output.append(chunk.data(), got);
  }
  const int status = ::pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string KeptDaemon::Start(const std::vector<std::string>& argv, const std::string& log) {
  const pid_t pid = ::fork();
  if (pid < 0) return Errno("fork");
  if (pid == 0) RunInOwnPidNamespace(argv, log);
  ::setpgid(pid, pid);  // here too, so that no signal of the daemon's can race it
  keeper_ = pid;
  return {};
}

bool KeptDaemon::Ended() {
  if (keeper_ <= 0) return true;
  int status = 0;
  if (::waitpid(keeper_, &status, WNOHANG) != keeper_) return false;
  keeper_ = -1;
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  how_it_ended_ = code > 128 ? "ended by signal " + std::to_string(code - 128)
                             : "exit status " + std::to_string(code);
  return true;
}

void KeptDaemon::Stop() {
  if (keeper_ <= 0) return;
  // The keeper passes this on; when the daemon ends, so does every process
  // of its namespace, and then the keeper.
  ::kill(keeper_, SIGTERM);
  const auto until = Clock::now() + std::chrono::seconds(5);
  while (::waitpid(keeper_, nullptr, WNOHANG) == 0) {
    if (Clock::now() > until) {
      ::kill(keeper_, SIGKILL);
      ::waitpid(keeper_, nullptr, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  keeper_ = -1;
}

void KeptDaemon::Freeze(bool frozen) {
  // The keeper leads the daemon's process group.
  if (keeper_ > 0) ::kill(-keeper_, frozen ? SIGSTOP : SIGCONT);
}

}  // namespace tabulon::testing
