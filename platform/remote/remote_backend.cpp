#include "platform/remote/remote_backend.h"

#include "platform/remote/remote_domain_controllers.h"
#include "platform/remote/remote_file_system.h"
#include "platform/remote/remote_groups.h"
#include "platform/remote/remote_lookup.h"
#include "platform/remote/remote_lsa_policy.h"
#include "platform/remote/remote_network.h"
#include "platform/remote/remote_object_security.h"
#include "platform/remote/remote_printing.h"
#include "platform/remote/remote_registry.h"
#include "platform/remote/remote_service_control.h"
#include "platform/remote/remote_user_accounts.h"
#include "platform/remote/remote_user_modals.h"
#include "platform/remote/samr_domain_handles.h"
#include "platform/unsupported/unsupported.h"
#include "platform/unsupported/unsupported_directory_search.h"
#include "platform/unsupported/unsupported_policy.h"
#include "platform/unsupported/unsupported_remote_access.h"
#include "platform/unsupported/unsupported_tasks.h"
#include "platform/unsupported/unsupported_user_accounts.h"
#include "platform/unsupported/unsupported_wmi.h"

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
  RemoteAccess& remote_access() override { return remote_access_; }
  DirectorySearch& directory_search() override { return *directory_search_; }
  Wmi& wmi() override { return wmi_; }
  ObjectSecurity& object_security() override { return object_security_; }

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
  // Account databases and lookup policies opened once per server, closed
  // after the families that use them.
  SamrDomainHandles samr_domains_{*transport_, HostOf(target_)};
  LsaLookupPolicies lookup_policies_{*transport_, HostOf(target_)};
  RemoteAccountLookup lookup_{*transport_, lookup_policies_};
  RemoteDirectoryService directory_{*transport_, HostOf(target_), *directory_search_};
  RemoteUserAccounts users_{*transport_, samr_domains_};
  RemoteUserModals user_modals_{*transport_, samr_domains_};
  // Terminal services have no interface a server offers over SMB: they need
  // the Windows build's libraries.
  unsupported::UnsupportedTerminalServices terminal_;
  RemoteGroups groups_{*transport_, samr_domains_, lookup_policies_, HostOf(target_)};
  RemoteLsaPolicy policy_{*transport_, lookup_policies_, HostOf(target_)};
  // The schedule service (atsvc) and the task schedulers are not reached
  // over RPC yet.
  unsupported::UnsupportedScheduleService schedule_;
  unsupported::UnsupportedTaskScheduler task_scheduler_;
  unsupported::UnsupportedTaskService task_service_;
  // The remote-access administration interface has no pipe a Samba server
  // answers: it needs the Windows build's libraries.
  unsupported::UnsupportedRemoteAccess remote_access_;
  // WMI runs over DCOM, which no library here speaks: connections fail as
  // they do from a client that cannot reach the service.
  unsupported::UnsupportedWmi wmi_;
  RemoteObjectSecurity object_security_{
      {net_, services_, registry_, printing_, transport_->file_calls()}};
};

}  // namespace

std::unique_ptr<TargetSession> RemoteBackend::Open(std::string_view target,
                                                   const SessionOptions& options) {
  return std::make_unique<RemoteSession>(target, transports_(options), local_files_,
                                         directories_ ? directories_(options) : nullptr);
}

}  // namespace tabulon::platform::remote
