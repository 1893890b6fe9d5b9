#pragma once
// Task Scheduler 1.0 through the system's ITaskScheduler (mstask): the
// scheduler and its work item enumerations are held in the family's object
// table; an activated task is read getter by getter within one call, on
// the session's worker thread.
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/bounded_calls.h"
#include "platform/task_scheduler.h"
#include "platform/win32/com_objects.h"

namespace tabulon::platform::win32 {

// Bound on the names one Next hands back; a caller asking for more gets at
// most these and asks again.
inline constexpr std::uint32_t kMaxWorkItemNames = 1000;

class Win32TaskScheduler final : public TaskScheduler {
 public:
  explicit Win32TaskScheduler(BoundedCalls& calls);
  // Releases what the caller left open, on the worker thread.
  ~Win32TaskScheduler() override;

  TaskSchedulerObjectResult CreateTaskScheduler() override;
  win::Status SetTargetComputer(TaskSchedulerObject scheduler, std::string_view computer) override;
  TaskSchedulerObjectResult Enum(TaskSchedulerObject scheduler) override;
  win::Status Reset(TaskSchedulerObject enumeration) override;
  WorkItemNamesResult Next(TaskSchedulerObject enumeration, std::uint32_t count) override;
  ActivateResult Activate(TaskSchedulerObject scheduler, std::string_view name) override;
  void Release(TaskSchedulerObject object) override;

 private:
  BoundedCalls& calls_;
  std::shared_ptr<ComObjects> objects_;
};

}  // namespace tabulon::platform::win32
