#pragma once
// Scheduled work where no backend reaches it yet: the schedule service and
// both task schedulers answer every call with ERROR_NOT_SUPPORTED (as the
// COM result 0x80070032 for the task schedulers), so the exports report a
// failure instead of an empty list.
#include "platform/schedule_service.h"
#include "platform/task_scheduler.h"
#include "platform/task_service.h"

namespace tabulon::unsupported {

class UnsupportedScheduleService final : public platform::ScheduleService {
 public:
  platform::ScheduleJobEnumResult NetScheduleJobEnum(std::string_view server,
                                                     std::uint32_t preferred_max_length,
                                                     std::uint32_t resume_handle) override;
};

class UnsupportedTaskScheduler final : public platform::TaskScheduler {
 public:
  platform::TaskSchedulerObjectResult CreateTaskScheduler() override;
  win::Status SetTargetComputer(platform::TaskSchedulerObject scheduler,
                                std::string_view computer) override;
  platform::TaskSchedulerObjectResult Enum(platform::TaskSchedulerObject scheduler) override;
  win::Status Reset(platform::TaskSchedulerObject enumeration) override;
  platform::WorkItemNamesResult Next(platform::TaskSchedulerObject enumeration,
                                     std::uint32_t count) override;
  platform::ActivateResult Activate(platform::TaskSchedulerObject scheduler,
                                    std::string_view name) override;
  // No object is ever handed out, so there is none to release.
  void Release(platform::TaskSchedulerObject object) override;
};

class UnsupportedTaskService final : public platform::TaskService {
 public:
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
};

}  // namespace tabulon::unsupported
