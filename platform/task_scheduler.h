#pragma once
// Task Scheduler 1.0 of a computer, after the ITaskScheduler COM interface:
// the scheduler object (an in-process server aimed at a computer), the
// enumeration of its work items and their activation as ITask. An activated
// task comes back as a record of what each of its getters answered; the
// scheduler and enumeration objects are released through Release.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/property.h"
#include "platform/status.h"
#include "platform/time.h"

namespace tabulon::platform {

using TaskSchedulerObject = std::uint64_t;  // 0 is no object

// TASK_FLAG_* of a work item.
inline constexpr std::uint32_t kTaskFlagInteractive = 0x1;
inline constexpr std::uint32_t kTaskFlagDeleteWhenDone = 0x2;
inline constexpr std::uint32_t kTaskFlagDisabled = 0x4;
inline constexpr std::uint32_t kTaskFlagStartOnlyIfIdle = 0x10;
inline constexpr std::uint32_t kTaskFlagKillOnIdleEnd = 0x20;
inline constexpr std::uint32_t kTaskFlagDontStartIfOnBatteries = 0x40;
inline constexpr std::uint32_t kTaskFlagKillIfGoingOnBatteries = 0x80;
inline constexpr std::uint32_t kTaskFlagRunOnlyIfDocked = 0x100;
inline constexpr std::uint32_t kTaskFlagHidden = 0x200;
inline constexpr std::uint32_t kTaskFlagRunIfConnectedToInternet = 0x400;
inline constexpr std::uint32_t kTaskFlagRestartOnIdleResume = 0x800;
inline constexpr std::uint32_t kTaskFlagSystemRequired = 0x1000;
inline constexpr std::uint32_t kTaskFlagRunOnlyIfLoggedOn = 0x2000;

// GetMaxRunTime of a task without a limit.
inline constexpr std::uint32_t kTaskMaxRunTimeInfinite = 0xFFFFFFFF;

// GetIdleWait.
struct IdleWait {
  std::uint16_t idle_minutes = 0;
  std::uint16_t deadline_minutes = 0;
};

// An activated work item: what each ITask / IScheduledWorkItem getter
// answered. A run time with day 0 is "no time".
struct WorkItem {
  Property<SystemTime> next_run_time;
  Property<std::string> application_name;
  Property<std::string> account_information;
  Property<std::uint32_t> flags;
  Property<IdleWait> idle_wait;
  Property<std::string> working_directory;
  Property<std::string> parameters;
  Property<std::string> comment;
  Property<std::string> creator;
  Property<std::uint32_t> max_run_time;  // milliseconds
  Property<std::uint32_t> priority;      // the priority class
  Property<std::uint32_t> exit_code;
  Property<SystemTime> most_recent_run_time;
  Property<win::Status> status;  // SCHED_S_TASK_*
  Property<std::uint16_t> trigger_count;
  // GetTriggerString by index; an index past the last trigger fails with
  // SCHED_E_TRIGGER_NOT_FOUND.
  std::vector<Property<std::string>> trigger_strings;

  Property<std::string> TriggerString(std::uint16_t index) const {
    if (index < trigger_strings.size()) return trigger_strings[index];
    return FailedProperty<std::string>(win::SCHED_E_TRIGGER_NOT_FOUND);
  }
};

struct TaskSchedulerObjectResult {
  win::Status status = win::ERROR_SUCCESS;
  TaskSchedulerObject object = 0;
};

// IEnumWorkItems::Next: S_FALSE (fewer names than asked for) is reported
// as success with the names there were.
struct WorkItemNamesResult {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<std::string> names;
};

struct ActivateResult {
  win::Status status = win::ERROR_SUCCESS;
  WorkItem task;
};

class TaskScheduler {
 public:
  virtual ~TaskScheduler() = default;

  // CoCreateInstance of CLSID_CTaskScheduler for IID_ITaskScheduler, as an
  // in-process server on the computer the program runs on.
  virtual TaskSchedulerObjectResult CreateTaskScheduler() = 0;
  // ITaskScheduler::SetTargetComputer with "\\NAME".
  virtual win::Status SetTargetComputer(TaskSchedulerObject scheduler,
                                        std::string_view computer) = 0;
  // ITaskScheduler::Enum: an IEnumWorkItems object.
  virtual TaskSchedulerObjectResult Enum(TaskSchedulerObject scheduler) = 0;
  // IEnumWorkItems::Reset and Next.
  virtual win::Status Reset(TaskSchedulerObject enumeration) = 0;
  virtual WorkItemNamesResult Next(TaskSchedulerObject enumeration, std::uint32_t count) = 0;
  // ITaskScheduler::Activate for IID_ITask.
  virtual ActivateResult Activate(TaskSchedulerObject scheduler, std::string_view name) = 0;
  // IUnknown::Release of a scheduler or an enumeration.
  virtual void Release(TaskSchedulerObject object) = 0;
};

}  // namespace tabulon::platform
