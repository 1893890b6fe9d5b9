#pragma once
// A session with one target: what a run opens before it exports a computer
// and closes when it is done with it. The session carries the caller's
// credentials, the time a single call may take and the run's cancel token,
// and owns what it opened on the target (connections, pipes, handles); it
// closes all of them when it is destroyed.
//
// Sessions of one backend are independent of each other: a backend whose
// libraries allow it may serve several at once from threads, one whose
// libraries do not runs them in worker processes. Nothing here shares state
// between sessions.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/cancel.h"
#include "platform/credentials.h"
#include "platform/directory.h"
#include "platform/directory_search.h"
#include "platform/file_system.h"
#include "platform/groups.h"
#include "platform/lsa_policy.h"
#include "platform/netapi.h"
#include "platform/object_security.h"
#include "platform/printing.h"
#include "platform/registry.h"
#include "platform/remote_access.h"
#include "platform/schedule_service.h"
#include "platform/security.h"
#include "platform/service_control.h"
#include "platform/task_scheduler.h"
#include "platform/task_service.h"
#include "platform/terminal_services.h"
#include "platform/user_accounts.h"
#include "platform/user_modals.h"
#include "platform/wmi.h"

namespace tabulon::platform {

// How long one remote call may take before it fails with ERROR_TIMEOUT.
// Every backend keeps it, and the cancel token, for every call: where the
// underlying API takes no time-out or cancel of its own (most of the
// Windows network API), the session makes its calls through BoundedCalls
// (platform/bounded_calls.h), which gives up waiting and abandons the call.
inline constexpr std::uint32_t kDefaultCallTimeoutMs = 60000;

struct SessionOptions {
  // Who the session authenticates as: the run's one set of credentials,
  // which outlives every session (copies of the options share it); null
  // stands for none.
  const Credentials* credentials = &kNoCredentials;
  std::uint32_t call_timeout_ms = kDefaultCallTimeoutMs;
  CancelToken cancel;

  const Credentials& logon() const {
    return credentials != nullptr ? *credentials : kNoCredentials;
  }
};

class TargetSession {
 public:
  virtual ~TargetSession() = default;

  // The target as the session was opened for it ("\\NAME", a DNS name, a
  // domain or a printer path).
  virtual const std::string& target() const = 0;

  virtual ServerService& server() = 0;
  virtual WorkstationService& workstation() = 0;
  virtual BrowserService& browser() = 0;
  virtual AccountService& accounts() = 0;
  virtual ServiceControl& services() = 0;
  virtual Registry& registry() = 0;
  virtual Printing& printing() = 0;
  virtual TerminalServices& terminal() = 0;
  virtual FileSystem& files() = 0;
  virtual AccountLookup& lookup() = 0;
  virtual DirectoryService& directory() = 0;
  virtual GroupService& groups() = 0;
  // The user accounts of the account database.
  virtual UserAccounts& users() = 0;
  // The local security policy: LSA rights and audit events, and the
  // account database's global settings.
  virtual LsaPolicy& policy() = 0;
  virtual UserModals& user_modals() = 0;
  // Scheduled work: the schedule service's jobs, Task Scheduler 1.0 and 2.0.
  virtual ScheduleService& schedule() = 0;
  virtual TaskScheduler& task_scheduler() = 0;
  virtual TaskService& task_service() = 0;
  // Dial-in permissions of the accounts of the account database.
  virtual RemoteAccess& remote_access() = 0;
  // LDAP searches of a directory server: one connection per session.
  virtual DirectorySearch& directory_search() = 0;
  // WMI namespaces of the computer and the queries they answer.
  virtual Wmi& wmi() = 0;
  // Security descriptors of named objects.
  virtual ObjectSecurity& object_security() = 0;
};

// What opens sessions: the simulated estate, the remote backend, the
// unsupported one. Opening never fails: a target that cannot be reached
// answers each call with the status the call would give.
class SessionBackend {
 public:
  virtual ~SessionBackend() = default;
  virtual std::unique_ptr<TargetSession> Open(std::string_view target,
                                              const SessionOptions& options) = 0;
};

}  // namespace tabulon::platform
