#pragma once
// Starting the transport's worker process. The worker is this same program
// run again with a hidden switch: posix_spawn makes it without copying the
// caller's threads or memory, so any thread of a process with many may
// start one. It gets its socket as fd 3, the read end of a pipe whose write
// end only the starting process holds as fd 4 (end of file there: that
// process is gone, and so the worker ends, whichever thread started it),
// /dev/null as its standard streams, and nothing else. Its logon comes as
// the first frame on the socket, never in its arguments or environment.
//
// Every program that makes a `SambaTransport` calls `IsWorkerCommand` first
// in its `main` and `RunWorkerProcess` when it says yes: the program, the
// test programs and the benchmarks that reach real servers.
#include <sys/types.h>

#include <string_view>

#include "platform/status.h"

namespace tabulon::platform::samba {

// The switch that makes the program a worker: its only argument.
inline constexpr std::string_view kWorkerSwitch = "--smb-transport-worker";

bool IsWorkerCommand(int argc, char** argv);

// The worker's whole life: never dumps core, ignores Ctrl-C (its starter's
// to handle), ends when its starter does, serves the socket until it closes.
[[noreturn]] void RunWorkerProcess();

// The parent's ends of a started worker.
struct StartedWorker {
  pid_t pid = -1;
  int socket = -1;      // the request and reply frames
  int parent_end = -1;  // closing it (or ending) ends the worker
};

// Spawns the worker from the running program's own file (/proc/self/exe,
// which still names it when the file has been replaced since).
win::Status SpawnWorker(StartedWorker& started);

}  // namespace tabulon::platform::samba
