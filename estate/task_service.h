#pragma once
// Task Scheduler 2.0 answered from the estate's task folder trees, for one
// session. Service objects live in the session's table, so that what a
// session did not release can be counted when it closes.
#include <cstddef>
#include <string>
#include <vector>

#include "estate/handle_table.h"
#include "estate/simulation.h"
#include "platform/task_service.h"

namespace tabulon::estate {

class EstateTaskService final : public platform::TaskService {
 public:
  EstateTaskService(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  // Creation is local: only the local computer's injected failure applies.
  platform::TaskServiceResult CreateTaskService() override;
  win::Status Connect(platform::TaskServiceObject service, std::string_view server_name) override;
  platform::TaskFolderResult GetFolder(platform::TaskServiceObject service,
                                       std::string_view path) override;
  platform::TaskFolderListResult GetFolders(platform::TaskServiceObject service,
                                            std::string_view folder_path,
                                            std::uint32_t flags) override;
  platform::RegisteredTaskListResult GetTasks(platform::TaskServiceObject service,
                                              std::string_view folder_path,
                                              std::uint32_t flags) override;
  void Release(platform::TaskServiceObject service) override;

  std::size_t OpenObjectCount() const { return objects_.Count(); }
  // "task service NAME" per object, NAME as connected (empty before).
  std::vector<std::string> DescribeOpenObjects() const;

 private:
  struct ServiceState {
    const Computer* computer = nullptr;  // null until connected
    std::string host;
  };

  // Records a call on a folder of the connected computer and reaches it:
  // the folder, or null with `status` set.
  template <typename DetailFn>
  const TaskFolderRecord* ReachFolder(Operation op, platform::TaskServiceObject service,
                                      std::string_view path, DetailFn&& detail,
                                      win::Status& status);

  Simulation& sim_;
  const platform::SessionOptions& session_;
  HandleTable<ServiceState> objects_{0x4000};
};

}  // namespace tabulon::estate
