#include "exporters/accounts/tasks/tasks_pre_vista.h"

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/row.h"
#include "exporters/accounts/tasks/at_jobs.h"
#include "exporters/accounts/tasks/task_columns.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/handle_guard.h"
#include "exporters/toolkit/simple_unit.h"
#include "format/lists.h"
#include "format/time_texts.h"
#include "platform/task_scheduler.h"

namespace tabulon {
namespace {

using namespace tasks;

constexpr std::uint32_t kNamesPerBatch = 5;

// In the order they are written.
constexpr FlagName kWorkItemFlagNames[] = {
    {platform::kTaskFlagInteractive, "INTERACTIVE"},
    {platform::kTaskFlagDeleteWhenDone, "DELETE_WHEN_DONE"},
    {platform::kTaskFlagDisabled, "DISABLED"},
    {platform::kTaskFlagHidden, "HIDDEN"},
    {platform::kTaskFlagRunOnlyIfLoggedOn, "RUN_ONLY_IF_LOGGED_ON"},
    {platform::kTaskFlagStartOnlyIfIdle, "START_ONLY_IF_IDLE"},
    {platform::kTaskFlagSystemRequired, "SYSTEM_REQUIRED"},
    {platform::kTaskFlagKillOnIdleEnd, "KILL_ON_IDLE_END"},
    {platform::kTaskFlagRestartOnIdleResume, "RESTART_ON_IDLE_RESUME"},
    {platform::kTaskFlagDontStartIfOnBatteries, "DONT_START_IF_ON_BATTERIES"},
    {platform::kTaskFlagKillIfGoingOnBatteries, "KILL_IF_GOING_ON_BATTERIES"},
    {platform::kTaskFlagRunIfConnectedToInternet, "RUN_IF_CONNECTED_TO_INTERNET"},
    {platform::kTaskFlagRunOnlyIfDocked, "RUN_ONLY_IF_DOCKED"},
};

std::string_view StatusText(win::Status status) {
  switch (status) {
    case win::SCHED_S_TASK_READY:
      return "Ready";
    case win::SCHED_S_TASK_RUNNING:
      return "Running";
    case win::SCHED_S_TASK_NOT_SCHEDULED:
      return "Not Scheduled";
    default:
      return {};
  }
}

std::string Signed(std::uint32_t value) {
  return std::to_string(static_cast<std::int32_t>(value));
}

// The values every row of one task repeats.
void FillTaskValues(ExportContext& context, const std::string& name, const platform::WorkItem& task,
                    Row& row) {
  RunOutput& out = context.output;
  platform::Locale& locale = *out.platform().locale;
  const auto when = [&](const platform::Property<platform::SystemTime>& time) -> std::string {
    if (!time.ok()) return {};
    if (time.value.day == 0) return "(None)";
    return format::FormatSystemTime(time.value, false, context.format, locale);
  };
  const auto text = [](const platform::Property<std::string>& p) {
    return p.ok() ? p.value : std::string();
  };
  row[kType] = "TASK";
  row[kId] = name;
  row[kTime] = when(task.next_run_time);
  row[kCommand] = text(task.application_name);
  row[kAccount] = text(task.account_information);
  if (task.flags.ok()) {
    std::string flags;
    for (const FlagName& flag : kWorkItemFlagNames) {
      if (task.flags.value & flag.bit) {
        format::AppendDelimited(flags, flag.name, context.format.secondary_delimiter);
      }
    }
    row[kFlags] = flags;
    // Idle values only mean something when the task waits for idle time.
    if ((task.flags.value & platform::kTaskFlagStartOnlyIfIdle) && task.idle_wait.ok()) {
      row[kIdleMinutes] = std::to_string(task.idle_wait.value.idle_minutes);
      row[kDeadlineMinutes] = std::to_string(task.idle_wait.value.deadline_minutes);
    }
  }
  row[kWorkingDirectory] = text(task.working_directory);
  row[kParameters] = text(task.parameters);
  row[kComment] = text(task.comment);
  row[kCreator] = text(task.creator);
  if (task.max_run_time.ok()) {
    row[kMaxRunSeconds] = task.max_run_time.value == platform::kTaskMaxRunTimeInfinite
                              ? std::string("INFINITE")
                              : Signed(task.max_run_time.value / 1000);
  }
  if (task.priority.ok()) row[kPriority] = Signed(task.priority.value);
  if (task.exit_code.ok()) row[kExitCode] = Signed(task.exit_code.value);
  row[kLastRunTime] = when(task.most_recent_run_time);
  if (task.status.ok()) row[kStatus] = StatusText(task.status.value);
}

// The work items of the computer the scheduler is aimed at. Returns the
// failure text, empty on success.
std::string ListTasks(ExportContext& context, const tagCObjects& target,
                      platform::TaskSchedulerObject scheduler, const std::string& computer) {
  platform::TaskScheduler& ts = context.session.task_scheduler();
  const platform::TaskSchedulerObjectResult enumeration = ts.Enum(scheduler);
  if (enumeration.status != win::ERROR_SUCCESS) return WindowsErrorText(enumeration.status);
  const auto release =
      HandleGuard(enumeration.object, [&ts](platform::TaskSchedulerObject o) { ts.Release(o); });
  if (const win::Status reset = ts.Reset(enumeration.object); reset != win::ERROR_SUCCESS) {
    return WindowsErrorText(reset);
  }
  Row row(context.output, context.files.of(kTasks), &target);
  while (true) {
    const platform::WorkItemNamesResult batch = ts.Next(enumeration.object, kNamesPerBatch);
    if (batch.status != win::ERROR_SUCCESS || batch.names.empty()) return {};
    for (const std::string& name : batch.names) {
      const platform::ActivateResult activated = ts.Activate(scheduler, name);
      if (activated.status != win::ERROR_SUCCESS) {
        return FillMessage("Unable to get information for task '%s' from '%s'. ",
                           {name, computer}) +
               WindowsErrorText(activated.status);
      }
      const platform::WorkItem& task = activated.task;
      if (!task.trigger_count.ok()) {
        return FillMessage("Unable to get trigger information for task '%s' from '%s'. ",
                           {name, computer}) +
               WindowsErrorText(task.trigger_count.status);
      }
      const std::uint16_t triggers = std::max<std::uint16_t>(task.trigger_count.value, 1);
      for (std::uint16_t index = 0; index < triggers; ++index) {
        FillTaskValues(context, name, task, row);
        const platform::Property<std::string> schedule = task.TriggerString(index);
        if (schedule.ok()) row[kSchedule] = schedule.value;
        row.Write();
      }
    }
  }
}

void ExportTaskList(ExportContext& context, const tagCObjects& target,
                    platform::TaskSchedulerObject scheduler, const std::string& computer) {
  RunOutput& out = context.output;
  ExportProgress progress(
      out, target, FillMessage("Exporting scheduled tasks on '%s'...", {target.display_name}),
      ProgressKind::kTasks);
  const std::string failure = ListTasks(context, target, scheduler, computer);
  if (!failure.empty()) progress.ReportFailure(failure);
  out.LogLine(&target, ExportTypeInfo(kTasks).log_name, !failure.empty(), failure);
}

}  // namespace

void ExportPreVistaTaskRows(ExportContext& context, const tagCObjects& target) {
  const std::string computer = target.path.starts_with('\\') ? target.path : "\\\\" + target.path;
  platform::TaskScheduler& ts = context.session.task_scheduler();
  const platform::TaskSchedulerObjectResult created = ts.CreateTaskScheduler();
  if (created.status != win::ERROR_SUCCESS) {
    ExportAtJobRows(context, target, computer);
    return;
  }
  const auto release =
      HandleGuard(created.object, [&ts](platform::TaskSchedulerObject o) { ts.Release(o); });
  // A computer without a usable Task Scheduler 1.0 still has its AT jobs.
  if (ts.SetTargetComputer(created.object, computer) != win::ERROR_SUCCESS) {
    ExportAtJobRows(context, target, computer);
  } else {
    ExportTaskList(context, target, created.object, computer);
  }
}

ExporterUnit TasksUnit() {
  static constexpr ExportType kTypes[] = {kTasks};
  return {.name = "scheduled tasks (pre-Vista)",
          .types = kTypes,
          .start = StartEnabledTypeRun<kTasks, ExportPreVistaTaskRows>};
}

}  // namespace tabulon
