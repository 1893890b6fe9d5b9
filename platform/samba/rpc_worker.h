#pragma once
// The worker process's side of the transport: the only code that calls the
// client libraries. It runs in a process started for one transport
// (worker_process.h), keeps the pipes of each server on one SMB connection
// (server_pipes.h) and the file client's one connection (smb_files.h), and
// answers the requests read from its socket until the parent closes it.
#include <cstdint>

#include "platform/credentials.h"

namespace tabulon::platform::samba {

struct WorkerSettings {
  // The logon the parent sent, which the worker holds for its whole life.
  const Credentials* credentials = &kNoCredentials;
  std::uint16_t smb_port = 445;
  // Rounded up to whole seconds for the library's own request timer, which
  // then never fires before the parent's deadline does.
  std::uint32_t call_timeout_ms = 0;
};

// Reads the logon frame (worker_frames.h) from `fd`, answers it, then serves
// requests until the parent closes its end, and ends the process.
[[noreturn]] void RunRpcWorker(int fd);

}  // namespace tabulon::platform::samba
