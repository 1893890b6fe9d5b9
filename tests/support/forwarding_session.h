#pragma once
// A session that answers every family from another session; a test
// overrides the families another backend serves.
#include <memory>
#include <string>

#include "platform/session.h"

namespace tabulon::testing {

class ForwardingSession : public platform::TargetSession {
 public:
  explicit ForwardingSession(std::unique_ptr<platform::TargetSession> inner)
      : estate_(std::move(inner)) {}
  const std::string& target() const override { return estate_->target(); }
  platform::ServerService& server() override { return estate_->server(); }
  platform::WorkstationService& workstation() override { return estate_->workstation(); }
  platform::BrowserService& browser() override { return estate_->browser(); }
  platform::AccountService& accounts() override { return estate_->accounts(); }
  platform::ServiceControl& services() override { return estate_->services(); }
  platform::Registry& registry() override { return estate_->registry(); }
  platform::Printing& printing() override { return estate_->printing(); }
  platform::TerminalServices& terminal() override { return estate_->terminal(); }
  platform::AccountLookup& lookup() override { return estate_->lookup(); }
  platform::DirectoryService& directory() override { return estate_->directory(); }
  platform::GroupService& groups() override { return estate_->groups(); }
  platform::UserAccounts& users() override { return estate_->users(); }
  platform::LsaPolicy& policy() override { return estate_->policy(); }
  platform::UserModals& user_modals() override { return estate_->user_modals(); }
  platform::ScheduleService& schedule() override { return estate_->schedule(); }
  platform::TaskScheduler& task_scheduler() override { return estate_->task_scheduler(); }
  platform::TaskService& task_service() override { return estate_->task_service(); }
  platform::Wmi& wmi() override { return estate_->wmi(); }
  platform::ObjectSecurity& object_security() override { return estate_->object_security(); }
  platform::RemoteAccess& remote_access() override { return estate_->remote_access(); }
  platform::DirectorySearch& directory_search() override { return estate_->directory_search(); }
  platform::FileSystem& files() override { return estate_->files(); }

 protected:
  std::unique_ptr<platform::TargetSession> estate_;
};

}  // namespace tabulon::testing
