#pragma once
// A session with one target of the estate: its own instance of every family,
// answering from the backend's shared simulation with the session's timeout
// and cancel token. Handles opened through the session live in its tables;
// those still open when it is destroyed are closed and reported to the
// backend as leaked.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "estate/account_lookup.h"
#include "estate/directory_search.h"
#include "estate/directory_service.h"
#include "estate/file_system.h"
#include "estate/groups.h"
#include "estate/lsa_policy.h"
#include "estate/network_management.h"
#include "estate/object_security.h"
#include "estate/printing.h"
#include "estate/registry.h"
#include "estate/remote_access.h"
#include "estate/scheduled_tasks.h"
#include "estate/service_control.h"
#include "estate/simulation.h"
#include "estate/task_service.h"
#include "estate/terminal_services.h"
#include "estate/user_accounts.h"
#include "estate/user_modals.h"
#include "estate/wmi.h"
#include "platform/session.h"

namespace tabulon::estate {

class EstateSession final : public platform::TargetSession {
 public:
  EstateSession(Simulation& simulation, std::string_view target, platform::SessionOptions options);
  EstateSession(const EstateSession&) = delete;
  EstateSession& operator=(const EstateSession&) = delete;
  ~EstateSession() override;

  const std::string& target() const override { return target_; }

  platform::ServerService& server() override { return net_; }
  platform::WorkstationService& workstation() override { return net_; }
  platform::BrowserService& browser() override { return net_; }
  platform::AccountService& accounts() override { return net_; }
  platform::ServiceControl& services() override { return services_; }
  platform::Registry& registry() override { return registry_; }
  platform::Printing& printing() override { return printing_; }
  platform::TerminalServices& terminal() override { return terminal_; }
  platform::FileSystem& files() override { return files_; }
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

  // Handles of every kind open in this session right now, and what each is
  // ("service manager \\FWSRV01", "registry key \\WS01 HKEY_USERS\...").
  std::size_t OpenHandles() const;
  std::vector<std::string> DescribeOpenHandles() const;

 private:
  Simulation& sim_;
  const std::string target_;
  const platform::SessionOptions options_;  // the families refer to it
  EstateNetworkManagement net_;
  EstateServiceControl services_;
  EstateRegistry registry_;
  EstatePrinting printing_;
  EstateTerminalServices terminal_;
  EstateFileSystem files_;
  EstateAccountLookup lookup_;
  EstateDirectoryService directory_;
  EstateDirectorySearch directory_search_{sim_, options_};
  EstateGroups groups_;
  EstateUserAccounts users_;
  EstateLsaPolicy policy_;
  EstateUserModals user_modals_;
  EstateScheduleService schedule_;
  EstateTaskScheduler task_scheduler_;
  EstateTaskService task_service_;
  EstateRemoteAccess remote_access_;
  EstateWmi wmi_{sim_, options_};
  EstateObjectSecurity object_security_{sim_, options_};
};

}  // namespace tabulon::estate
