#pragma once
// The scheduled work of an estate computer: the schedule service's jobs,
// the Task Scheduler 1.0 work items and the Task Scheduler 2.0 folder tree.
// Work items and registered tasks are held as what their getters answer,
// failures of single getters included.
#include <optional>
#include <string>
#include <vector>

#include "estate/operations.h"
#include "platform/schedule_service.h"
#include "platform/status.h"
#include "platform/task_scheduler.h"
#include "platform/task_service.h"

namespace tabulon::estate {

struct InjectedFailure;

struct WorkItemRecord {
  std::string name;  // as the enumeration returns it, e.g. "Backup.job"
  platform::WorkItem item;
  win::Status activate_status = win::ERROR_SUCCESS;  // Activate of this one item
};

// A registered task; a hidden one is only listed when hidden tasks are
// asked for.
struct RegisteredTaskRecord {
  platform::RegisteredTask task;
  bool hidden = false;
};

// One folder of the Task Scheduler 2.0 tree: "\" or "\Microsoft\Windows".
struct TaskFolderRecord {
  std::string path;
  std::vector<std::string> subfolders;      // paths, in collection order
  std::vector<RegisteredTaskRecord> tasks;  // in collection order
  // What GetFolder, GetFolders and GetTasks answer for this folder.
  win::Status get_folder = win::ERROR_SUCCESS;
  win::Status get_folders = win::ERROR_SUCCESS;
  win::Status get_tasks = win::ERROR_SUCCESS;
};

struct ScheduledWork {
  std::vector<platform::AtEnum> at_jobs;
  // Nothing: the computer has no Task Scheduler 1.0 (SetTargetComputer
  // fails).
  std::optional<std::vector<WorkItemRecord>> work_items;
  // Nothing: the computer has no Task Scheduler 2.0 (Connect fails).
  // Otherwise every folder, the root first.
  std::optional<std::vector<TaskFolderRecord>> task_folders;

  const TaskFolderRecord* FindFolder(std::string_view path) const;
};

}  // namespace tabulon::estate
