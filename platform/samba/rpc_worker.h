#pragma once
// The worker process's side of the transport: the only code that calls the
// client libraries. It runs in a child forked for one transport, keeps the
// pipes of each server on one SMB connection (server_pipes.h) and the file
// client's one connection (smb_files.h), and answers the requests read from
// its socket until the parent closes it.
#include <cstdint>

#include "platform/credentials.h"

namespace tabulon::platform::samba {

struct WorkerSettings {
  // The parent's credentials, which the forked worker reads in its copy of
  // the parent's memory: the password is not copied to reach it.
  const Credentials* credentials = &kNoCredentials;
  std::uint16_t smb_port = 445;
  // Rounded up to whole seconds for the library's own request timer, which
  // then never fires before the parent's deadline does.
  std::uint32_t call_timeout_ms = 0;
};

// Serves requests on `fd` and ends the process when the parent is gone.
[[noreturn]] void RunRpcWorker(int fd, const WorkerSettings& settings);

}  // namespace tabulon::platform::samba
