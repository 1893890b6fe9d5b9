#pragma once
// The Windows backend: each session calls the system's own API for its
// target (NetAPI32, advapi32, the spooler, COM ...) on a worker thread of its
// own that carries the session's identity, within the session's time-out
// and stop (platform/bounded_calls.h). Files and volumes, share paths
// included, are the local file system's: Windows reaches \\SERVER\SHARE
// itself.
#include <memory>
#include <string>
#include <string_view>

#include "platform/bounded_calls.h"
#include "platform/session.h"
#include "platform/win32/account_lookup.h"
#include "platform/win32/directory_search.h"
#include "platform/win32/domain_controllers.h"
#include "platform/win32/groups.h"
#include "platform/win32/lsa_policy.h"
#include "platform/win32/netapi.h"
#include "platform/win32/object_security.h"
#include "platform/win32/printing.h"
#include "platform/win32/registry.h"
#include "platform/win32/remote_access.h"
#include "platform/win32/schedule_service.h"
#include "platform/win32/service_control.h"
#include "platform/win32/task_scheduler.h"
#include "platform/win32/task_service.h"
#include "platform/win32/terminal_services.h"
#include "platform/win32/user_accounts.h"
#include "platform/win32/user_modals.h"
#include "platform/win32/wmi.h"

namespace tabulon::platform::win32 {

class Win32Session final : public TargetSession {
 public:
  Win32Session(std::string_view target, const SessionOptions& options, FileSystem& files);
  ~Win32Session() override;

  const std::string& target() const override { return target_; }
  ServerService& server() override { return network_; }
  WorkstationService& workstation() override { return network_; }
  BrowserService& browser() override { return network_; }
  AccountService& accounts() override { return network_; }
  ServiceControl& services() override { return services_; }
  Registry& registry() override { return registry_; }
  Printing& printing() override { return printing_; }
  TerminalServices& terminal() override { return terminal_; }
  FileSystem& files() override { return files_; }
  AccountLookup& lookup() override { return lookup_; }
  DirectoryService& directory() override { return directory_; }
  GroupService& groups() override { return groups_; }
  UserAccounts& users() override { return users_; }
  LsaPolicy& policy() override { return policy_; }
  UserModals& user_modals() override { return user_modals_; }
  ScheduleService& schedule() override { return schedule_; }
  TaskScheduler& task_scheduler() override { return task_scheduler_; }
  TaskService& task_service() override { return task_service_; }
  RemoteAccess& remote_access() override { return remote_access_; }
  DirectorySearch& directory_search() override { return directory_search_; }
  Wmi& wmi() override { return wmi_; }
  ObjectSecurity& object_security() override { return object_security_; }

 private:
  const std::string target_;
  // First, so that it is destroyed last: the families release their
  // handles through it.
  BoundedCalls calls_;
  Win32ServiceControl services_{calls_};
  Win32Registry registry_{calls_};
  Win32AccountLookup lookup_{calls_};
  Win32LsaPolicy policy_{calls_};
  Win32ObjectSecurity object_security_{calls_};
  Win32Printing printing_{calls_};
  Win32TerminalServices terminal_{calls_};
  Win32NetworkManagement network_{calls_};
  Win32GroupService groups_{calls_};
  Win32UserAccounts users_{calls_};
  Win32UserModals user_modals_{calls_};
  Win32ScheduleService schedule_{calls_};
  Win32RemoteAccess remote_access_{calls_};
  Win32Wmi wmi_{calls_};
  Win32TaskService task_service_{calls_};
  Win32TaskScheduler task_scheduler_{calls_};
  Win32DirectoryService directory_;
  Win32DirectorySearch directory_search_;
  FileSystem& files_;
};

class Win32Backend final : public SessionBackend {
 public:
  // `files` serves every path; it must outlive the backend's sessions and
  // may serve several at once.
  explicit Win32Backend(FileSystem& files) : files_(files) {}

  std::unique_ptr<TargetSession> Open(std::string_view target,
                                      const SessionOptions& options) override;

 private:
  FileSystem& files_;
};

}  // namespace tabulon::platform::win32
