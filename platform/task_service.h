#pragma once
// Task Scheduler 2.0 of a computer, after the ITaskService COM interface:
// the service object (an in-process server connected to a computer), its
// folders and their registered tasks with their definitions. Folders are
// named by their paths; collections come back as lists and each registered
// task as a record of what its getters answered, down to the typed trigger
// interfaces. The service object is released through Release.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/property.h"
#include "platform/status.h"

namespace tabulon::platform {

using TaskServiceObject = std::uint64_t;  // 0 is no object

// TASK_STATE.
inline constexpr std::uint32_t kTaskStateUnknown = 0;
inline constexpr std::uint32_t kTaskStateDisabled = 1;
inline constexpr std::uint32_t kTaskStateQueued = 2;
inline constexpr std::uint32_t kTaskStateReady = 3;
inline constexpr std::uint32_t kTaskStateRunning = 4;

// TASK_ENUM_HIDDEN of GetTasks.
inline constexpr std::uint32_t kTaskEnumHidden = 1;

// TASK_TRIGGER_TYPE2.
inline constexpr std::uint32_t kTaskTriggerEvent = 0;
inline constexpr std::uint32_t kTaskTriggerTime = 1;
inline constexpr std::uint32_t kTaskTriggerDaily = 2;
inline constexpr std::uint32_t kTaskTriggerWeekly = 3;
inline constexpr std::uint32_t kTaskTriggerMonthly = 4;
inline constexpr std::uint32_t kTaskTriggerMonthlyDow = 5;
inline constexpr std::uint32_t kTaskTriggerIdle = 6;
inline constexpr std::uint32_t kTaskTriggerRegistration = 7;
inline constexpr std::uint32_t kTaskTriggerBoot = 8;
inline constexpr std::uint32_t kTaskTriggerLogon = 9;
inline constexpr std::uint32_t kTaskTriggerSessionStateChange = 11;
inline constexpr std::uint32_t kTaskTriggerCustom = 12;

// TASK_SESSION_STATE_CHANGE_TYPE.
inline constexpr std::uint32_t kTaskConsoleConnect = 1;
inline constexpr std::uint32_t kTaskConsoleDisconnect = 2;
inline constexpr std::uint32_t kTaskRemoteConnect = 3;
inline constexpr std::uint32_t kTaskRemoteDisconnect = 4;
inline constexpr std::uint32_t kTaskSessionLock = 7;
inline constexpr std::uint32_t kTaskSessionUnlock = 8;

// One ITrigger of a definition's collection and its typed form. Which of
// the typed values a trigger has depends on its type; the typed interface
// of a type that has none fails QueryInterface with E_NOINTERFACE.
struct TaskTrigger {
  win::Status item_status = win::ERROR_SUCCESS;  // ITriggerCollection::get_Item
  Property<std::uint32_t> type;                  // TASK_TRIGGER_TYPE2
  Property<bool> enabled;
  Property<std::string> start_boundary;
  win::Status typed_status = win::ERROR_SUCCESS;  // QueryInterface for the typed form
  Property<std::int16_t> days_interval;           // IDailyTrigger
  Property<std::int16_t> weeks_interval;          // IWeeklyTrigger
  Property<std::uint16_t> days_of_week;           // weekly, monthly by day of week
  Property<std::uint32_t> days_of_month;          // IMonthlyTrigger
  Property<std::uint16_t> months_of_year;         // both monthly forms
  Property<bool> run_on_last_day_of_month;
  Property<std::uint16_t> weeks_of_month;  // IMonthlyDOWTrigger
  Property<bool> run_on_last_week_of_month;
  Property<std::string> user_id;         // logon and session state change; "" when none
  Property<std::uint32_t> state_change;  // ISessionStateChangeTrigger
};

// IRegistrationInfo.
struct TaskRegistrationInfo {
  Property<std::string> author;
  Property<std::string> date;
  Property<std::string> description;
  Property<std::string> source;
  Property<std::string> version;
};

// IPrincipal.
struct TaskPrincipal {
  Property<std::string> group_id;
  Property<std::string> user_id;
};

// ITaskDefinition.
struct TaskDefinition {
  Property<TaskRegistrationInfo> registration_info;
  Property<TaskPrincipal> principal;
  Property<std::vector<TaskTrigger>> triggers;
};

// IRegisteredTask. Times are OLE automation dates, 0.0 for none.
struct RegisteredTask {
  win::Status item_status = win::ERROR_SUCCESS;  // IRegisteredTaskCollection::get_Item
  Property<std::string> name;
  Property<std::uint32_t> state;  // TASK_STATE
  Property<double> next_run_time;
  Property<double> last_run_time;
  Property<win::Status> last_task_result;
  Property<std::string> path;
  Property<std::int32_t> number_of_missed_runs;
  Property<TaskDefinition> definition;
};

struct TaskServiceResult {
  win::Status status = win::ERROR_SUCCESS;
  TaskServiceObject object = 0;
};

// ITaskService::GetFolder: the folder's get_Path.
struct TaskFolderResult {
  win::Status status = win::ERROR_SUCCESS;
  std::string path;
};

// ITaskFolder::GetFolders: get_Item then get_Path of each subfolder, in
// collection order.
struct TaskFolderListResult {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<Property<std::string>> paths;
};

// ITaskFolder::GetTasks, in collection order.
struct RegisteredTaskListResult {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<RegisteredTask> tasks;
};

class TaskService {
 public:
  virtual ~TaskService() = default;

  // CoCreateInstance of CLSID_TaskScheduler for IID_ITaskService, as an
  // in-process server on the computer the program runs on.
  virtual TaskServiceResult CreateTaskService() = 0;
  // ITaskService::Connect with the computer name and empty user, domain and
  // password.
  virtual win::Status Connect(TaskServiceObject service, std::string_view server_name) = 0;
  // ITaskService::GetFolder.
  virtual TaskFolderResult GetFolder(TaskServiceObject service, std::string_view path) = 0;
  // GetFolders and GetTasks of the folder at `folder_path`.
  virtual TaskFolderListResult GetFolders(TaskServiceObject service, std::string_view folder_path,
                                          std::uint32_t flags) = 0;
  virtual RegisteredTaskListResult GetTasks(TaskServiceObject service, std::string_view folder_path,
                                            std::uint32_t flags) = 0;
  // IUnknown::Release of the service.
  virtual void Release(TaskServiceObject service) = 0;
};

}  // namespace tabulon::platform
