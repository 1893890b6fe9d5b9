#pragma once
// Task Scheduler 2.0 through the system's ITaskService: the service object
// is held in the family's object table; folders are opened by path for
// each call, and their collections and each registered task's getters are
// read within that one call, on the session's worker thread.
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/bounded_calls.h"
#include "platform/task_service.h"
#include "platform/win32/com_objects.h"

struct IRegisteredTask;

namespace tabulon::platform::win32 {

// A registered task's getters, down to its definition's typed triggers.
RegisteredTask ReadRegisteredTask(IRegisteredTask* task);

class Win32TaskService final : public TaskService {
 public:
  explicit Win32TaskService(BoundedCalls& calls);
  // Releases what the caller left open, on the worker thread.
  ~Win32TaskService() override;

  TaskServiceResult CreateTaskService() override;
  win::Status Connect(TaskServiceObject service, std::string_view server_name) override;
  TaskFolderResult GetFolder(TaskServiceObject service, std::string_view path) override;
  TaskFolderListResult GetFolders(TaskServiceObject service, std::string_view folder_path,
                                  std::uint32_t flags) override;
  RegisteredTaskListResult GetTasks(TaskServiceObject service, std::string_view folder_path,
                                    std::uint32_t flags) override;
  void Release(TaskServiceObject service) override;

 private:
  BoundedCalls& calls_;
  std::shared_ptr<ComObjects> objects_;
};

}  // namespace tabulon::platform::win32
