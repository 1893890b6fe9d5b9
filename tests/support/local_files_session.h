#pragma once
// Sessions of another backend whose files() family is a given file system:
// the estate answers the computer, the local backend its files.
#include <memory>
#include <string>
#include <string_view>

#include "platform/session.h"

namespace tabulon::testing {

// The estate's session for everything but files, which come from the
// local backend.
class LocalFilesSession final : public platform::TargetSession {
 public:
  LocalFilesSession(std::unique_ptr<platform::TargetSession> estate, platform::FileSystem& files)
      : estate_(std::move(estate)), files_(files) {}
  const std::string& target() const override { return estate_->target(); }
  platform::ServerService& server() override { return estate_->server(); }
  platform::WorkstationService& workstation() override { return estate_->workstation(); }
  platform::BrowserService& browser() override { return estate_->browser(); }
  platform::AccountService& accounts() override { return estate_->accounts(); }
  platform::ServiceControl& services() override { return estate_->services(); }
  platform::Registry& registry() override { return estate_->registry(); }
  platform::Printing& printing() override { return estate_->printing(); }
  platform::TerminalServices& terminal() override { return estate_->terminal(); }
  platform::FileSystem& files() override { return files_; }
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

 private:
  std::unique_ptr<platform::TargetSession> estate_;
  platform::FileSystem& files_;
};

class LocalFilesBackend final : public platform::SessionBackend {
 public:
  LocalFilesBackend(platform::SessionBackend& estate, platform::FileSystem& files)
      : estate_(estate), files_(files) {}
  std::unique_ptr<platform::TargetSession> Open(std::string_view target,
                                                const platform::SessionOptions& options) override {
    return std::make_unique<LocalFilesSession>(estate_.Open(target, options), files_);
  }

 private:
  platform::SessionBackend& estate_;
  platform::FileSystem& files_;
};

}  // namespace tabulon::testing
