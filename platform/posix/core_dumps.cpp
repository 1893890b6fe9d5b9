#include "platform/posix/core_dumps.h"

#include <sys/prctl.h>
#include <sys/resource.h>

#include <cerrno>
#include <cstring>

namespace tabulon::platform {

std::string DisableCoreDumps() {
  // Undumpable: no core even where the core pattern pipes it to a program,
  // which ignores the limit (unless fs.suid_dumpable is 2, which hands such
  // cores to root only), and no ptrace or /proc/PID/mem access by the same
  // user. The limit still holds after an exec, which makes a process
  // dumpable again.
  if (::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) != 0) {
    return std::string("cannot make the process undumpable: ") + std::strerror(errno);
  }
  const rlimit none{0, 0};
  if (::setrlimit(RLIMIT_CORE, &none) != 0) {
    return std::string("cannot set the core file limit to 0: ") + std::strerror(errno);
  }
  return {};
}

}  // namespace tabulon::platform
