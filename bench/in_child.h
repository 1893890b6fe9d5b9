#pragma once
// Measuring in a child process, so that the peak memory a benchmark reports
// is that of the measured work alone: the child runs `measure` and sends its
// figures back through a pipe. Nothing when the child did not report.
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <type_traits>

namespace tabulon::bench {

template <typename Figures, typename Measure>
std::optional<Figures> InChild(Measure&& measure) {
  static_assert(std::is_trivially_copyable_v<Figures>, "figures travel as bytes");
  int fds[2];
  if (::pipe(fds) != 0) return std::nullopt;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    const Figures measured = measure();
    const ssize_t written = ::write(fds[1], &measured, sizeof measured);
    ::_exit(written == sizeof measured ? 0 : 1);
  }
  ::close(fds[1]);
  Figures figures{};
  const ssize_t got = pid > 0 ? ::read(fds[0], &figures, sizeof figures) : -1;
  ::close(fds[0]);
  if (pid > 0) ::waitpid(pid, nullptr, 0);
  if (got != static_cast<ssize_t>(sizeof figures)) return std::nullopt;
  return figures;
}

}  // namespace tabulon::bench
