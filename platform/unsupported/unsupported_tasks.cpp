#include "platform/unsupported/unsupported_tasks.h"

#include "platform/unsupported/refused.h"

namespace tabulon::unsupported {

platform::ScheduleJobEnumResult UnsupportedScheduleService::NetScheduleJobEnum(std::string_view,
                                                                               std::uint32_t,
                                                                               std::uint32_t) {
  return Refused<platform::ScheduleJobEnumResult>(win::ERROR_NOT_SUPPORTED);
}

platform::TaskSchedulerObjectResult UnsupportedTaskScheduler::CreateTaskScheduler() {
  return Refused<platform::TaskSchedulerObjectResult>(win::E_NOT_SUPPORTED);
}

win::Status UnsupportedTaskScheduler::SetTargetComputer(platform::TaskSchedulerObject,
                                                        std::string_view) {
  return win::E_NOT_SUPPORTED;
}

platform::TaskSchedulerObjectResult UnsupportedTaskScheduler::Enum(platform::TaskSchedulerObject) {
  return Refused<platform::TaskSchedulerObjectResult>(win::E_NOT_SUPPORTED);
}

win::Status UnsupportedTaskScheduler::Reset(platform::TaskSchedulerObject) {
  return win::E_NOT_SUPPORTED;
}

platform::WorkItemNamesResult UnsupportedTaskScheduler::Next(platform::TaskSchedulerObject,
                                                             std::uint32_t) {
  return Refused<platform::WorkItemNamesResult>(win::E_NOT_SUPPORTED);
}

platform::ActivateResult UnsupportedTaskScheduler::Activate(platform::TaskSchedulerObject,
                                                            std::string_view) {
  return Refused<platform::ActivateResult>(win::E_NOT_SUPPORTED);
}

void UnsupportedTaskScheduler::Release(platform::TaskSchedulerObject) {}

platform::TaskServiceResult UnsupportedTaskService::CreateTaskService() {
  return Refused<platform::TaskServiceResult>(win::E_NOT_SUPPORTED);
}

win::Status UnsupportedTaskService::Connect(platform::TaskServiceObject, std::string_view) {
  return win::E_NOT_SUPPORTED;
}

platform::TaskFolderResult UnsupportedTaskService::GetFolder(platform::TaskServiceObject,
                                                             std::string_view) {
  return Refused<platform::TaskFolderResult>(win::E_NOT_SUPPORTED);
}

platform::TaskFolderListResult UnsupportedTaskService::GetFolders(platform::TaskServiceObject,
                                                                  std::string_view, std::uint32_t) {
  return Refused<platform::TaskFolderListResult>(win::E_NOT_SUPPORTED);
}

platform::RegisteredTaskListResult UnsupportedTaskService::GetTasks(platform::TaskServiceObject,
                                                                    std::string_view,
                                                                    std::uint32_t) {
  return Refused<platform::RegisteredTaskListResult>(win::E_NOT_SUPPORTED);
}

void UnsupportedTaskService::Release(platform::TaskServiceObject) {}

}  // namespace tabulon::unsupported
