#include "platform/remote/remote_backend.h"

#include "platform/remote/remote_domain_controllers.h"
#include "platform/remote/remote_file_system.h"
#include "platform/remote/remote_lookup.h"
#include "platform/remote/remote_network.h"
#include "platform/remote/remote_printing.h"
#include "platform/remote/remote_registry.h"
#include "platform/remote/remote_service_control.h"
#include "platform/unsupported/unsupported.h"
#include "platform/unsupported/unsupported_directory_search.h"
#include "platform/unsupported/unsupported_groups.h"
#include "platform/unsupported/unsupported_policy.h"
#include "platform/unsupported/unsupported_tasks.h"
#include "platform/unsupported/unsupported_user_accounts.h"

namespace tabulon::platform::remote {
namespace {

class RemoteSession final : public TargetSession {
 public:
  RemoteSession(std::string_view target, std::unique_ptr<RpcTransport> transport,
                FileSystem* local_files, std::unique_ptr<DirectorySearch> directory_search)
      : directory_search_(directory_search
                              ? std::move(directory_search)
                              : std::make_unique<unsupported::UnsupportedDirectorySearch>()),
        target_(target),
        transport_(std::move(transport)),
        net_(*transport_, HostOf(target)),
        services_(*transport_),
        registry_(*transport_),
        printing_(*transport_, target),
        files_(transport_->file_calls(), local_files) {}

  const std::string& target() const override { return target_; }
  ServerService& server() override { return net_; }
  WorkstationService& workstation() override { return net_; }
  BrowserService& browser() override { return net_; }
  AccountService& accounts() override { return net_; }
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
  DirectorySearch& directory_search() override { return *directory_search_; }

 private:
  std::unique_ptr<DirectorySearch> directory_search_;
  const std::string target_;
  // Declared first so that it outlives the families that close handles
  // through it.
  std::unique_ptr<RpcTransport> transport_;
  RemoteNetworkManagement net_;
  RemoteServiceControl services_;
  RemoteRegistry registry_;
  RemotePrinting printing_;
  RemoteFileSystem files_;
  RemoteAccountLookup lookup_{*transport_, HostOf(target_)};
  RemoteDirectoryService directory_{*transport_, HostOf(target_)};
  // Terminal services have no interface a server offers over SMB: they need
  // the Windows build's libraries.
  unsupported::UnsupportedTerminalServices terminal_;
  // The SAM group calls are not encoded yet.
  unsupported::UnsupportedGroups groups_;
  // The user calls of SAMR come with the second wave of remote codecs.
  unsupported::UnsupportedUserAccounts users_;
  // The LSA and account-settings calls wait for their codecs.
  unsupported::UnsupportedLsaPolicy policy_;
  unsupported::UnsupportedUserModals user_modals_;
  // The schedule service (atsvc) and the task schedulers are not reached
  // over RPC yet.
  unsupported::UnsupportedScheduleService schedule_;
  unsupported::UnsupportedTaskScheduler task_scheduler_;
  unsupported::UnsupportedTaskService task_service_;
};

}  // namespace

std::unique_ptr<TargetSession> RemoteBackend::Open(std::string_view target,
                                                   const SessionOptions& options) {
  return std::make_unique<RemoteSession>(target, transports_(options), local_files_,
                                         directories_ ? directories_(options) : nullptr);
}

}  // namespace tabulon::platform::remote
