#pragma once
// The Windows backend: each session calls the system's own API for its
// target (NetAPI32, advapi32, the spooler, COM ...) on a worker thread of its
// own that carries the session's identity, within the session's time-out
// and stop (platform/bounded_calls.h). Families not served natively yet
// answer ERROR_NOT_SUPPORTED; paths on this computer may be served by the
// local file system.
#include <memory>
#include <string>
#include <string_view>

#include "platform/bounded_calls.h"
#include "platform/session.h"
#include "platform/unsupported/backend.h"
#include "platform/win32/directory_search.h"
#include "platform/win32/domain_controllers.h"

namespace tabulon::platform::win32 {

class Win32Session final : public TargetSession {
 public:
  Win32Session(std::string_view target, const SessionOptions& options, FileSystem* local_files);
  ~Win32Session() override;

  const std::string& target() const override { return target_; }
  ServerService& server() override { return fallback_.server(); }
  WorkstationService& workstation() override { return fallback_.workstation(); }
  BrowserService& browser() override { return fallback_.browser(); }
  AccountService& accounts() override { return fallback_.accounts(); }
  ServiceControl& services() override { return fallback_.services(); }
  Registry& registry() override { return fallback_.registry(); }
  Printing& printing() override { return fallback_.printing(); }
  TerminalServices& terminal() override { return fallback_.terminal(); }
  FileSystem& files() override { return fallback_.files(); }
  AccountLookup& lookup() override { return fallback_.lookup(); }
  DirectoryService& directory() override { return directory_; }
  GroupService& groups() override { return fallback_.groups(); }
  UserAccounts& users() override { return fallback_.users(); }
  LsaPolicy& policy() override { return fallback_.policy(); }
  UserModals& user_modals() override { return fallback_.user_modals(); }
  ScheduleService& schedule() override { return fallback_.schedule(); }
  TaskScheduler& task_scheduler() override { return fallback_.task_scheduler(); }
  TaskService& task_service() override { return fallback_.task_service(); }
  RemoteAccess& remote_access() override { return fallback_.remote_access(); }
  DirectorySearch& directory_search() override { return directory_search_; }
  Wmi& wmi() override { return fallback_.wmi(); }
  ObjectSecurity& object_security() override { return fallback_.object_security(); }

 private:
  const std::string target_;
  // First, so that it is destroyed last: the families release their
  // handles through it.
  BoundedCalls calls_;
  Win32DirectoryService directory_;
  Win32DirectorySearch directory_search_;
  unsupported::UnsupportedSession fallback_;
};

class Win32Backend final : public SessionBackend {
 public:
  // `local_files` serves paths on this computer; it must outlive the
  // backend's sessions.
  explicit Win32Backend(FileSystem* local_files) : local_files_(local_files) {}

  std::unique_ptr<TargetSession> Open(std::string_view target,
                                      const SessionOptions& options) override;

 private:
  FileSystem* local_files_;
};

}  // namespace tabulon::platform::win32
