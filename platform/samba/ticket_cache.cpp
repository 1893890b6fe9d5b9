#include "platform/samba/ticket_cache.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/samba/samba_credentials.h"

extern "C" {
#include <param.h>
#include <talloc.h>
#include <tevent.h>
}

namespace tabulon::platform::samba {

std::string UsableTicketPrincipal() {
  TALLOC_CTX* root = talloc_new(nullptr);
  tevent_context* ev = tevent_context_init(root);
  loadparm_context* lp = loadparm_init(root);
  std::array<char, 256> principal{};
  std::uint32_t status = 1;
  if (ev != nullptr && lp != nullptr) {
    // As in the worker: the library's defaults, not the machine's smb.conf.
    lpcfg_load(lp, "/dev/null");
    status = tabulon_samba_ticket_principal(root, lp, ev, principal.data(), principal.size());
  }
  talloc_free(root);
  return status == 0 ? std::string(principal.data()) : std::string();
}

std::string FindTicketCache(std::chrono::milliseconds limit) {
  int channel[2];
  if (::pipe2(channel, O_CLOEXEC) != 0) return {};
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(channel[0]);
    ::close(channel[1]);
    return {};
  }
  if (child == 0) {
    ::close(channel[0]);
    const std::string principal = UsableTicketPrincipal();
    // Well under the pipe's buffer: the write cannot block.
    const ssize_t written = ::write(channel[1], principal.data(), principal.size());
    ::_exit(written == static_cast<ssize_t>(principal.size()) ? 0 : 1);
  }
  ::close(channel[1]);
  std::string principal;
  const auto until = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        until - std::chrono::steady_clock::now());
    pollfd p{channel[0], POLLIN, 0};
    const int n = left.count() > 0 ? ::poll(&p, 1, static_cast<int>(left.count())) : 0;
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {  // no answer in time: no tickets to rely on
      principal.clear();
      ::kill(child, SIGKILL);
      break;
    }
    char chunk[256];
    const ssize_t got = ::read(channel[0], chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    principal.append(chunk, static_cast<std::size_t>(got));
  }
  ::close(channel[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) principal.clear();
  return principal;
}

}  // namespace tabulon::platform::samba
