#include "exporters/accounts/tasks/tasks_vista.h"

#include <vector>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/row.h"
#include "exporters/accounts/tasks/task_texts.h"
#include "exporters/accounts/tasks/trigger_sentence.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/handle_guard.h"
#include "exporters/toolkit/simple_unit.h"
#include "platform/task_service.h"

namespace tabulon {
namespace {

enum Column : std::uint32_t {
  kName = 0,
  kStatus = 1,
  kTriggerType = 2,
  kTriggerDetails = 3,
  kNextRun = 4,
  kLastRun = 5,
  kResult = 6,
  kPath = 7,
  kMissedRuns = 8,
  kAuthor = 9,
  kCreated = 10,
  kDescription = 11,
  kSource = 12,
  kVersion = 13,
  kPrincipal = 14,
};

// A last task result that means "no result to show".
constexpr win::Status kNoResult = 1;

std::string_view StateText(std::uint32_t state) {
  switch (state) {
    case platform::kTaskStateDisabled:
      return "DISABLED";
    case platform::kTaskStateQueued:
      return "QUEUDED";
    case platform::kTaskStateReady:
      return "READY";
    case platform::kTaskStateRunning:
      return "RUNNING";
    default:
      return "UNKNOWN";
  }
}

// One Vista export of a computer: the service, the name, and the text of
// the last failure (which may go with a success).
class VistaExport {
 public:
  VistaExport(ExportContext& context, platform::TaskServiceObject service, std::string computer)
      : context_(context),
        tasks_(context.session.task_service()),
        service_(service),
        computer_(std::move(computer)) {}

  const std::string& text() const { return text_; }
  win::Status status() const { return status_; }

  // The folder tree in pre-order, from `path` down. A subfolder that cannot
  // be opened or listed keeps its place but adds nothing, and only leaves
  // its text.
  win::Status CollectFolders(const std::string& path, std::vector<std::string>& folders) {
    folders.push_back(path);
    const platform::TaskFolderResult folder = tasks_.GetFolder(service_, path);
    if (folder.status != win::ERROR_SUCCESS) {
      text_ = FillMessage("Unable to get task folder '%s' on '%s'.", {path, computer_});
      return folder.status;
    }
    const platform::TaskFolderListResult list = tasks_.GetFolders(service_, path, 0);
    if (list.status != win::ERROR_SUCCESS) {
      text_ = FillMessage("Unable to get Task Scheduler sub-folder listing for '%s' on '%s'. ",
                          {path, computer_});
      return list.status;
    }
    for (const platform::Property<std::string>& sub : list.paths) {
      if (sub.ok()) CollectFolders(sub.value, folders);
    }
    return win::ERROR_SUCCESS;
  }

  // Rows of every task of every folder; false when the target failed.
  bool ExportFolders(const tagCObjects& target, const std::vector<std::string>& folders) {
    Row row(context_.output, context_.files.of(kTasksNew), &target);
    for (const std::string& path : folders) {
      const platform::TaskFolderResult folder = tasks_.GetFolder(service_, path);
      if (folder.status != win::ERROR_SUCCESS) {
        // Not a failure of the target: the text goes with its success.
        text_ = FillMessage("Unable to get task folder '%s' on '%s'.", {path, computer_});
        return true;
      }
      const platform::RegisteredTaskListResult list =
          tasks_.GetTasks(service_, folder.path, platform::kTaskEnumHidden);
      if (list.status != win::ERROR_SUCCESS) {
        status_ = list.status;
        return false;
      }
      for (const platform::RegisteredTask& task : list.tasks) {
        if (task.item_status == win::ERROR_SUCCESS && task.name.ok()) WriteTask(row, task);
      }
    }
    return true;
  }

  void Fail(win::Status status) { status_ = status; }
  void SetText(std::string text) { text_ = std::move(text); }

 private:
  void WriteTask(Row& row, const platform::RegisteredTask& task) {
    RunOutput& out = context_.output;
    platform::Locale& locale = *out.platform().locale;
    row[kName] = task.name.value;
    if (task.state.ok()) row[kStatus] = StateText(task.state.value);
    if (task.next_run_time.ok()) row[kNextRun] = TaskRunTimeText(task.next_run_time.value, locale);
    if (task.last_run_time.ok()) row[kLastRun] = TaskRunTimeText(task.last_run_time.value, locale);
    if (task.last_task_result.ok() && task.last_task_result.value != kNoResult) {
      row[kResult] = TaskResultText(task.last_task_result.value);
    }
    if (task.path.ok()) row[kPath] = task.path.value;
    if (task.number_of_missed_runs.ok()) {
      row[kMissedRuns] = std::to_string(task.number_of_missed_runs.value);
    }
    if (task.definition.ok()) WriteDefinition(row, task.definition.value);
    row.Write();
  }

  void WriteDefinition(Row& row, const platform::TaskDefinition& definition) {
    RunOutput& out = context_.output;
    const auto text = [](const platform::Property<std::string>& p) {
      return p.ok() ? p.value : std::string();
    };
    if (definition.registration_info.ok()) {
      const platform::TaskRegistrationInfo& info = definition.registration_info.value;
      row[kAuthor] = text(info.author);
      row[kCreated] = text(info.date);
      row[kDescription] = text(info.description);
      row[kSource] = text(info.source);
      row[kVersion] = text(info.version);
    }
    if (definition.principal.ok()) {
      const std::string group = text(definition.principal.value.group_id);
      row[kPrincipal] = group.empty() ? text(definition.principal.value.user_id) : group;
    }
    if (definition.triggers.ok()) {
      const std::vector<platform::TaskTrigger>& triggers = definition.triggers.value;
      if (triggers.size() == 1) {
        const TriggerSentence sentence = DescribeTrigger(triggers.front(), *out.platform().clock);
        row[kTriggerType] = sentence.type_text;
        row[kTriggerDetails] = sentence.sentence;
      } else if (triggers.size() > 1) {
        row[kTriggerType] = "Multiple Triggers";
      }
    }
  }

  ExportContext& context_;
  platform::TaskService& tasks_;
  platform::TaskServiceObject service_;
  std::string computer_;
  std::string text_;
  win::Status status_ = win::ERROR_SUCCESS;
};

}  // namespace

void ExportVistaTaskRows(ExportContext& context, const tagCObjects& target) {
  RunOutput& out = context.output;
  std::string_view name = target.path;
  while (name.starts_with('\\')) name.remove_prefix(1);
  const std::string computer(name);
  ExportProgress progress(
      out, target, FillMessage("Exporting scheduled tasks on '%s'...", {target.display_name}),
      ProgressKind::kTasks);
  platform::TaskService& tasks = context.session.task_service();
  const platform::TaskServiceResult created = tasks.CreateTaskService();
  const auto release =
      HandleGuard(created.object, [&tasks](platform::TaskServiceObject o) { tasks.Release(o); });
  VistaExport run(context, created.object, computer);
  if (created.status != win::ERROR_SUCCESS) {
    run.SetText(FillMessage("Unable to initialize Task Scheduler 2.0 interface (%s). ",
                            {"CLSID_TaskScheduler::IID_ITaskService"}));
    run.Fail(created.status);
  } else if (const win::Status connected = tasks.Connect(created.object, computer);
             connected != win::ERROR_SUCCESS) {
    run.SetText(FillMessage("Unable to connect to Task Scheduler on '%s'. ", {computer}));
    run.Fail(connected);
  } else {
    std::vector<std::string> folders;
    const win::Status collected = run.CollectFolders("\\", folders);
    if (collected != win::ERROR_SUCCESS) {
      run.Fail(collected);
    } else {
      run.ExportFolders(target, folders);
    }
  }
  const bool failed = run.status() != win::ERROR_SUCCESS;
  std::string text = run.text();
  if (failed) {
    text += WmiErrorText(static_cast<std::int32_t>(run.status()), TaskStatusTexts(run.status()));
    progress.ReportFailure(text);
  }
  out.LogLine(&target, ExportTypeInfo(kTasksNew).log_name, failed, text);
}

ExporterUnit TasksNewUnit() {
  static constexpr ExportType kTypes[] = {kTasksNew};
  return {.name = "scheduled tasks (Vista and later)",
          .types = kTypes,
          .start = StartEnabledTypeRun<kTasksNew, ExportVistaTaskRows>};
}

}  // namespace tabulon
