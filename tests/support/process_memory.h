#pragma once
// What another process would leave in a core file, looked at from outside:
// its core file limit, and what its memory holds (which needs root, as
// reading the memory of an undumpable process does).
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon::testing {

// The "Max core file size" line of /proc/PID/limits, soft and hard limit
// only: "0 0" for a process that cannot write a core file.
inline std::string CoreFileLimit(pid_t pid) {
  std::ifstream limits("/proc/" + std::to_string(pid) + "/limits");
  for (std::string line; std::getline(limits, line);) {
    if (!line.starts_with("Max core file size")) continue;
    std::string soft, hard;
    std::istringstream(line.substr(26)) >> soft >> hard;
    return soft + " " + hard;
  }
  return "?";
}

// Lets `pid` write cores of any size again, as a process with the right to
// raise limits can: what is left to stop a core is the process being
// undumpable. False without that right.
inline bool AllowCoreFiles(pid_t pid) {
  const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
  return ::prlimit(pid, RLIMIT_CORE, &unlimited, nullptr) == 0;
}

// How many times `needle` occurs in the readable memory of `pid`; -1 when
// its memory cannot be read.
inline int CopiesInMemory(pid_t pid, std::string_view needle) {
  const std::string proc = "/proc/" + std::to_string(pid);
  const int mem = ::open((proc + "/mem").c_str(), O_RDONLY | O_CLOEXEC);
  if (mem < 0) return -1;
  int copies = 0;
  std::ifstream maps(proc + "/maps");
  std::vector<char> chunk(1 << 20);
  for (std::string line; std::getline(maps, line);) {
    std::uint64_t start = 0, end = 0;
    char perms[5] = {};
    if (std::sscanf(line.c_str(), "%lx-%lx %4s", &start, &end, perms) != 3 || perms[0] != 'r') {
      continue;
    }
    // Consecutive chunks overlap by the needle's length less one, so that
    // no copy is missed or counted twice at a boundary.
    for (std::uint64_t at = start; at < end;) {
      const std::size_t want =
          static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), end - at));
      const ssize_t got = ::pread(mem, chunk.data(), want, static_cast<off_t>(at));
      if (got <= 0) break;
      const std::string_view seen(chunk.data(), static_cast<std::size_t>(got));
      for (std::size_t i = seen.find(needle); i != std::string_view::npos;
           i = seen.find(needle, i + 1)) {
        ++copies;
      }
      if (at + static_cast<std::uint64_t>(got) >= end) break;
      at += static_cast<std::uint64_t>(got) - (needle.size() - 1);
    }
  }
  ::close(mem);
  return copies;
}

}  // namespace tabulon::testing
