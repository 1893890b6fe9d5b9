#pragma once
// The session backend for real computers until a remote backend exists:
// every session's families answer every call with ERROR_NOT_SUPPORTED, so
// exporters report a failure instead of exporting nothing as if it had
// worked. Paths on the computer the program runs on may be served by a
// local file system.
#include <memory>
#include <string>
#include <string_view>

#include "platform/session.h"
#include "platform/unsupported/unsupported.h"
#include "platform/unsupported/unsupported_directory_search.h"
#include "platform/unsupported/unsupported_groups.h"
#include "platform/unsupported/unsupported_object_security.h"
#include "platform/unsupported/unsupported_policy.h"
#include "platform/unsupported/unsupported_remote_access.h"
#include "platform/unsupported/unsupported_tasks.h"
#include "platform/unsupported/unsupported_user_accounts.h"
#include "platform/unsupported/unsupported_wmi.h"

namespace tabulon::unsupported {

class UnsupportedSession final : public platform::TargetSession {
 public:
  // `local_files`, when given, answers files() instead of failing; it must
  // outlive the session and may be shared by sessions on several threads.
  UnsupportedSession(std::string_view target, platform::FileSystem* local_files);

  const std::string& target() const override { return target_; }
  platform::ServerService& server() override { return net_; }
  platform::WorkstationService& workstation() override { return net_; }
  platform::BrowserService& browser() override { return net_; }
  platform::AccountService& accounts() override { return net_; }
  platform::ServiceControl& services() override { return services_; }
  platform::Registry& registry() override { return registry_; }
  platform::Printing& printing() override { return printing_; }
  platform::TerminalServices& terminal() override { return terminal_; }
  platform::FileSystem& files() override;
  platform::AccountLookup& lookup() override { return lookup_; }
  platform::DirectoryService& directory() override { return directory_; }
  platform::GroupService& groups() override { return groups_; }
  platform::UserAccounts& users() override { return users_; }
  platform::LsaPolicy& policy() override { return policy_; }
  platform::UserModals& user_modals() override { return user_modals_; }
  platform::ScheduleService& schedule() override { return schedule_; }
  platform::TaskScheduler& task_scheduler() override { return task_scheduler_; }
  platform::TaskService& task_service() override { return task_service_; }
  platform::RemoteAccess& remote_access() override { return remote_access_; }
  platform::DirectorySearch& directory_search() override { return directory_search_; }
  platform::Wmi& wmi() override { return wmi_; }
  platform::ObjectSecurity& object_security() override { return object_security_; }

 private:
  const std::string target_;
  platform::FileSystem* local_files_;
  UnsupportedNetworkManagement net_;
  UnsupportedServiceControl services_;
  UnsupportedRegistry registry_;
  UnsupportedPrinting printing_;
  UnsupportedTerminalServices terminal_;
  UnsupportedFileSystem files_;
  UnsupportedAccountLookup lookup_;
  UnsupportedDirectoryService directory_;
  UnsupportedGroups groups_;
  UnsupportedUserAccounts users_;
  UnsupportedLsaPolicy policy_;
  UnsupportedUserModals user_modals_;
  UnsupportedScheduleService schedule_;
  UnsupportedTaskScheduler task_scheduler_;
  UnsupportedTaskService task_service_;
  UnsupportedRemoteAccess remote_access_;
  UnsupportedDirectorySearch directory_search_;
  UnsupportedWmi wmi_;
  UnsupportedObjectSecurity object_security_;
};

class UnsupportedBackend final : public platform::SessionBackend {
 public:
  explicit UnsupportedBackend(platform::FileSystem* local_files = nullptr)
      : local_files_(local_files) {}

  std::unique_ptr<platform::TargetSession> Open(std::string_view target,
                                                const platform::SessionOptions& options) override;

 private:
  platform::FileSystem* local_files_;
};

}  // namespace tabulon::unsupported
