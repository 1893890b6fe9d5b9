// The scheduled_tasks member of a computer: AT jobs and Task Scheduler 1.0
// work items as JSON, Task Scheduler 2.0 tasks from a folder tree of task
// XML files, with the run state Windows keeps beside them and the failures
// of single calls and getters.
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "estate/sections.h"
#include "estate/task_xml.h"
#include "estate/xml_reader.h"
#include "platform/ole_date.h"
#include "platform/text.h"
#include "platform/utf8_path.h"

namespace tabulon::estate {
namespace {

constexpr std::size_t kMaxTaskFiles = 5000;
constexpr std::size_t kMaxFolderDepth = 16;

constexpr std::array kJobFlags{
    NamedValue{"RUN_PERIODICALLY", platform::kJobRunPeriodically},
    NamedValue{"EXEC_ERROR", platform::kJobExecError},
    NamedValue{"RUNS_TODAY", platform::kJobRunsToday},
    NamedValue{"NONINTERACTIVE", platform::kJobNonInteractive},
};

// AT days of the week: bit 0 Monday.
constexpr std::array kJobDays{
    NamedValue{"MO", 0x1},        NamedValue{"TU", 0x2},       NamedValue{"WE", 0x4},
    NamedValue{"TH", 0x8},        NamedValue{"FR", 0x10},      NamedValue{"SA", 0x20},
    NamedValue{"SU", 0x40},       NamedValue{"MONDAY", 0x1},   NamedValue{"TUESDAY", 0x2},
    NamedValue{"WEDNESDAY", 0x4}, NamedValue{"THURSDAY", 0x8}, NamedValue{"FRIDAY", 0x10},
    NamedValue{"SATURDAY", 0x20}, NamedValue{"SUNDAY", 0x40},
};

constexpr std::array kWorkItemFlags{
    NamedValue{"INTERACTIVE", platform::kTaskFlagInteractive},
    NamedValue{"DELETE_WHEN_DONE", platform::kTaskFlagDeleteWhenDone},
    NamedValue{"DISABLED", platform::kTaskFlagDisabled},
    NamedValue{"START_ONLY_IF_IDLE", platform::kTaskFlagStartOnlyIfIdle},
    NamedValue{"KILL_ON_IDLE_END", platform::kTaskFlagKillOnIdleEnd},
    NamedValue{"DONT_START_IF_ON_BATTERIES", platform::kTaskFlagDontStartIfOnBatteries},
    NamedValue{"KILL_IF_GOING_ON_BATTERIES", platform::kTaskFlagKillIfGoingOnBatteries},
    NamedValue{"RUN_ONLY_IF_DOCKED", platform::kTaskFlagRunOnlyIfDocked},
    NamedValue{"HIDDEN", platform::kTaskFlagHidden},
    NamedValue{"RUN_IF_CONNECTED_TO_INTERNET", platform::kTaskFlagRunIfConnectedToInternet},
    NamedValue{"RESTART_ON_IDLE_RESUME", platform::kTaskFlagRestartOnIdleResume},
    NamedValue{"SYSTEM_REQUIRED", platform::kTaskFlagSystemRequired},
    NamedValue{"RUN_ONLY_IF_LOGGED_ON", platform::kTaskFlagRunOnlyIfLoggedOn},
};

constexpr std::array kWorkItemStatuses{
    NamedValue{"READY", win::SCHED_S_TASK_READY},
    NamedValue{"RUNNING", win::SCHED_S_TASK_RUNNING},
    NamedValue{"DISABLED", win::SCHED_S_TASK_DISABLED},
    NamedValue{"HAS_NOT_RUN", win::SCHED_S_TASK_HAS_NOT_RUN},
    NamedValue{"NO_MORE_RUNS", win::SCHED_S_TASK_NO_MORE_RUNS},
    NamedValue{"NOT_SCHEDULED", win::SCHED_S_TASK_NOT_SCHEDULED},
    NamedValue{"TERMINATED", win::SCHED_S_TASK_TERMINATED},
};

constexpr std::array kTaskStates{
    NamedValue{"UNKNOWN", platform::kTaskStateUnknown},
    NamedValue{"DISABLED", platform::kTaskStateDisabled},
    NamedValue{"QUEUED", platform::kTaskStateQueued},
    NamedValue{"READY", platform::kTaskStateReady},
    NamedValue{"RUNNING", platform::kTaskStateRunning},
};

// The getters of a work item that the estate can make fail, and what
// failing each one clears.
struct WorkItemGetter {
  std::string_view name;
  void (*fail)(WorkItemRecord& record, win::Status status);
};
constexpr std::array kWorkItemGetters{
    WorkItemGetter{"Activate", [](WorkItemRecord& r, win::Status s) { r.activate_status = s; }},
    WorkItemGetter{"GetNextRunTime",
                   [](WorkItemRecord& r, win::Status s) { r.item.next_run_time.status = s; }},
    WorkItemGetter{"GetApplicationName",
                   [](WorkItemRecord& r, win::Status s) { r.item.application_name.status = s; }},
    WorkItemGetter{"GetAccountInformation",
                   [](WorkItemRecord& r, win::Status s) { r.item.account_information.status = s; }},
    WorkItemGetter{"GetFlags", [](WorkItemRecord& r, win::Status s) { r.item.flags.status = s; }},
    WorkItemGetter{"GetIdleWait",
                   [](WorkItemRecord& r, win::Status s) { r.item.idle_wait.status = s; }},
    WorkItemGetter{"GetWorkingDirectory",
                   [](WorkItemRecord& r, win::Status s) { r.item.working_directory.status = s; }},
    WorkItemGetter{"GetParameters",
                   [](WorkItemRecord& r, win::Status s) { r.item.parameters.status = s; }},
    WorkItemGetter{"GetComment",
                   [](WorkItemRecord& r, win::Status s) { r.item.comment.status = s; }},
    WorkItemGetter{"GetCreator",
                   [](WorkItemRecord& r, win::Status s) { r.item.creator.status = s; }},
    WorkItemGetter{"GetMaxRunTime",
                   [](WorkItemRecord& r, win::Status s) { r.item.max_run_time.status = s; }},
    WorkItemGetter{"GetPriority",
                   [](WorkItemRecord& r, win::Status s) { r.item.priority.status = s; }},
    WorkItemGetter{"GetExitCode",
                   [](WorkItemRecord& r, win::Status s) { r.item.exit_code.status = s; }},
    WorkItemGetter{
        "GetMostRecentRunTime",
        [](WorkItemRecord& r, win::Status s) { r.item.most_recent_run_time.status = s; }},
    WorkItemGetter{"GetStatus", [](WorkItemRecord& r, win::Status s) { r.item.status.status = s; }},
    WorkItemGetter{"GetTriggerCount",
                   [](WorkItemRecord& r, win::Status s) { r.item.trigger_count.status = s; }},
    WorkItemGetter{"GetTriggerString",
                   [](WorkItemRecord& r, win::Status s) {
                     for (auto& text : r.item.trigger_strings) text.status = s;
                   }},
};

// The getters of a registered task the estate can make fail; the trigger
// ones fail for every trigger of the task.
struct TaskGetter {
  std::string_view name;
  void (*fail)(platform::RegisteredTask& task, win::Status status);
};
void ForEachTrigger(platform::RegisteredTask& task,
                    void (*fail)(platform::TaskTrigger&, win::Status), win::Status status) {
  for (platform::TaskTrigger& t : task.definition.value.triggers.value) fail(t, status);
}
constexpr std::array kTaskGetters{
    TaskGetter{"get_Item", [](platform::RegisteredTask& t, win::Status s) { t.item_status = s; }},
    TaskGetter{"get_Name", [](platform::RegisteredTask& t, win::Status s) { t.name.status = s; }},
    TaskGetter{"get_State", [](platform::RegisteredTask& t, win::Status s) { t.state.status = s; }},
    TaskGetter{"get_NextRunTime",
               [](platform::RegisteredTask& t, win::Status s) { t.next_run_time.status = s; }},
    TaskGetter{"get_LastRunTime",
               [](platform::RegisteredTask& t, win::Status s) { t.last_run_time.status = s; }},
    TaskGetter{"get_LastTaskResult",
               [](platform::RegisteredTask& t, win::Status s) { t.last_task_result.status = s; }},
    TaskGetter{"get_Path", [](platform::RegisteredTask& t, win::Status s) { t.path.status = s; }},
    TaskGetter{"get_NumberOfMissedRuns", [](platform::RegisteredTask& t,
                                            win::Status s) { t.number_of_missed_runs.status = s; }},
    TaskGetter{"get_Definition",
               [](platform::RegisteredTask& t, win::Status s) { t.definition.status = s; }},
    TaskGetter{"get_RegistrationInfo",
               [](platform::RegisteredTask& t, win::Status s) {
                 t.definition.value.registration_info.status = s;
               }},
    TaskGetter{"get_Author",
               [](platform::RegisteredTask& t, win::Status s) {
                 t.definition.value.registration_info.value.author.status = s;
               }},
    TaskGetter{"get_Date",
               [](platform::RegisteredTask& t, win::Status s) {
                 t.definition.value.registration_info.value.date.status = s;
               }},
    TaskGetter{"get_Description",
               [](platform::RegisteredTask& t, win::Status s) {
                 t.definition.value.registration_info.value.description.status = s;
               }},
    TaskGetter{"get_Source",
               [](platform::RegisteredTask& t, win::Status s) {
                 t.definition.value.registration_info.value.source.status = s;
               }},
    TaskGetter{"get_Version",
               [](platform::RegisteredTask& t, win::Status s) {
                 t.definition.value.registration_info.value.version.status = s;
               }},
    TaskGetter{"get_Principal", [](platform::RegisteredTask& t,
                                   win::Status s) { t.definition.value.principal.status = s; }},
    TaskGetter{"get_GroupId",
               [](platform::RegisteredTask& t, win::Status s) {
                 t.definition.value.principal.value.group_id.status = s;
               }},
    TaskGetter{"get_UserId",
               [](platform::RegisteredTask& t, win::Status s) {
                 t.definition.value.principal.value.user_id.status = s;
               }},
    TaskGetter{"get_Triggers", [](platform::RegisteredTask& t,
                                  win::Status s) { t.definition.value.triggers.status = s; }},
    TaskGetter{"trigger.get_Item",
               [](platform::RegisteredTask& t, win::Status s) {
                 ForEachTrigger(
                     t, [](platform::TaskTrigger& g, win::Status v) { g.item_status = v; }, s);
               }},
    TaskGetter{"trigger.get_Type",
               [](platform::RegisteredTask& t, win::Status s) {
                 ForEachTrigger(
                     t, [](platform::TaskTrigger& g, win::Status v) { g.type.status = v; }, s);
               }},
    TaskGetter{
        "trigger.get_StartBoundary",
        [](platform::RegisteredTask& t, win::Status s) {
          ForEachTrigger(
              t, [](platform::TaskTrigger& g, win::Status v) { g.start_boundary.status = v; }, s);
        }},
    TaskGetter{"trigger.QueryInterface",
               [](platform::RegisteredTask& t, win::Status s) {
                 ForEachTrigger(
                     t, [](platform::TaskTrigger& g, win::Status v) { g.typed_status = v; }, s);
               }},
};

constexpr std::array<std::string_view, 3> kFolderCalls{"GetTaskFolder", "GetTaskFolders",
                                                       "GetTasks"};

// "YYYY-MM-DDTHH:MM:SS" as a time of the computer's clock; null for none.
bool ReadLocalTime(JsonReader& reader, const Json& value, const JsonPath& path,
                   platform::SystemTime& out) {
  if (value.is_null()) {
    out = platform::SystemTime{};
    return true;
  }
  std::string text;
  if (!reader.String(value, path, text)) return false;
  platform::SystemTime t;
  char tail = 0;
  const int read = std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &t.year, &t.month, &t.day,
                               &t.hour, &t.minute, &t.second, &tail);
  const auto ft = read == 6 ? platform::SystemTimeToFileTime(t) : std::nullopt;
  const auto full = ft ? platform::FileTimeToSystemTime(*ft) : std::nullopt;  // day of week
  if (!full) {
    return reader.Fail(path,
                       "expected a time YYYY-MM-DDTHH:MM:SS or null, not " + QuoteForMessage(text));
  }
  out = *full;
  return true;
}

bool ReadOleDate(JsonReader& reader, const Json& value, const JsonPath& path, double& out) {
  platform::SystemTime time;
  if (!ReadLocalTime(reader, value, path, time)) return false;
  out = time.day == 0 ? 0.0 : platform::SystemTimeToOleDate(time).value_or(0.0);
  return true;
}

// "HH:MM" or "HH:MM:SS" as milliseconds after midnight, or the number.
bool ReadJobTime(JsonReader& reader, const Json& value, const JsonPath& path, std::uint32_t& out) {
  if (value.is_number()) return reader.Uint32(value, path, out);
  std::string text;
  if (!reader.String(value, path, text)) return false;
  unsigned hours = 0, minutes = 0, seconds = 0;
  char tail = 0;
  const int read = std::sscanf(text.c_str(), "%2u:%2u:%2u%c", &hours, &minutes, &seconds, &tail);
  if ((read != 2 && read != 3) || hours > 23 || minutes > 59 || seconds > 59) {
    return reader.Fail(path, "expected HH:MM or HH:MM:SS");
  }
  out = ((hours * 60 + minutes) * 60 + seconds) * 1000;
  return true;
}

bool ReadDayNumbers(JsonReader& reader, const Json& value, const JsonPath& path,
                    std::uint32_t& out) {
  if (value.is_number()) return reader.Uint32(value, path, out);
  return reader.Elements(value, path, [&](const Json& item, const JsonPath& at, std::size_t) {
    std::uint32_t day = 0;
    if (!reader.Uint32(item, at, day)) return false;
    if (day < 1 || day > 31) return reader.Fail(at, "a day is 1 to 31");
    out |= 1u << (day - 1);
    return true;
  });
}

template <std::size_t N, typename Record>
bool ReadGetterFailures(JsonReader& reader, const Json& value, const JsonPath& path,
                        const std::array<Record, N>& getters, auto& target) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  for (const auto& [key, entry] : value.items()) {
    const JsonPath where{here, key};
    const std::string& name = key;  // a structured binding cannot be captured
    const auto getter = std::find_if(getters.begin(), getters.end(),
                                     [&](const Record& g) { return g.name == name; });
    if (getter == getters.end()) {
      std::string known;
      for (const Record& g : getters) known += (known.empty() ? "" : ", ") + std::string(g.name);
      return reader.Fail(where, "unknown call; known: " + known);
    }
    win::Status status = win::ERROR_SUCCESS;
    if (!reader.Status(entry, where, status)) return false;
    getter->fail(target, status);
  }
  return true;
}

bool ReadAtJob(JsonReader& reader, const Json& value, const JsonPath& path, platform::AtEnum& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  std::uint32_t days = 0;
  std::uint32_t flags = 0;
  const bool ok = reader.Optional(value, here, "id", [&](const Json& v, const JsonPath& p) {
    return reader.Uint32(v, p, out.job_id);
  }) && reader.Optional(value, here, "time", [&](const Json& v, const JsonPath& p) {
    return ReadJobTime(reader, v, p, out.job_time);
  }) && reader.Optional(value, here, "days_of_week", [&](const Json& v, const JsonPath& p) {
    return reader.Named(v, p, Vocabulary{kJobDays, {}}, "day", true, days);
  }) && reader.Optional(value, here, "days_of_month", [&](const Json& v, const JsonPath& p) {
    return ReadDayNumbers(reader, v, p, out.days_of_month);
  }) && reader.Optional(value, here, "flags", [&](const Json& v, const JsonPath& p) {
    return reader.Named(v, p, Vocabulary{kJobFlags, "JOB_"}, "job flag", true, flags);
  }) && reader.Optional(value, here, "command", [&](const Json& v, const JsonPath& p) {
    return reader.String(v, p, out.command);
  });
  if (!ok) return false;
  if (days > 0x7F || flags > 0xFF) return reader.Fail(path, "days or flags out of range");
  out.days_of_week = static_cast<std::uint8_t>(days);
  out.flags = static_cast<std::uint8_t>(flags);
  return true;
}

bool ReadWorkItem(JsonReader& reader, const Json& value, const JsonPath& path,
                  WorkItemRecord& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  platform::WorkItem& item = out.item;
  item.status.value = win::SCHED_S_TASK_READY;
  item.exit_code.value = 0;
  item.max_run_time.value = 72 * 3600 * 1000;
  item.priority.value = 32;  // NORMAL_PRIORITY_CLASS
  const auto string = [&](std::string& field) {
    return
        [&reader, &field](const Json& v, const JsonPath& p) { return reader.String(v, p, field); };
  };
  const auto number = [&](std::uint32_t& field) {
    return
        [&reader, &field](const Json& v, const JsonPath& p) { return reader.Uint32(v, p, field); };
  };
  const auto minutes = [&](std::uint16_t& field) {
    return [&reader, &field](const Json& v, const JsonPath& p) {
      std::uint32_t n = 0;
      if (!reader.Uint32(v, p, n)) return false;
      if (n > 0xFFFF) return reader.Fail(p, "expected a number from 0 to 65535");
      field = static_cast<std::uint16_t>(n);
      return true;
    };
  };
  const Json* failures = JsonReader::Member(value, "failures");
  std::vector<std::string> triggers;
  const bool ok =
      reader.Optional(value, here, "name", string(out.name)) &&
      reader.Optional(value, here, "application", string(item.application_name.value)) &&
      reader.Optional(value, here, "parameters", string(item.parameters.value)) &&
      reader.Optional(value, here, "working_directory", string(item.working_directory.value)) &&
      reader.Optional(value, here, "comment", string(item.comment.value)) &&
      reader.Optional(value, here, "creator", string(item.creator.value)) &&
      reader.Optional(value, here, "account", string(item.account_information.value)) &&
      reader.Optional(value, here, "flags",
                      [&](const Json& v, const JsonPath& p) {
                        return reader.Named(v, p, Vocabulary{kWorkItemFlags, "TASK_FLAG_"},
                                            "work item flag", true, item.flags.value);
                      }) &&
      reader.Optional(value, here, "idle_minutes", minutes(item.idle_wait.value.idle_minutes)) &&
      reader.Optional(value, here, "deadline_minutes",
                      minutes(item.idle_wait.value.deadline_minutes)) &&
      reader.Optional(value, here, "max_run_time_ms",
                      [&](const Json& v, const JsonPath& p) {
                        if (v.is_string() && v.get<std::string>() == "INFINITE") {
                          item.max_run_time.value = platform::kTaskMaxRunTimeInfinite;
                          return true;
                        }
                        return reader.Uint32(v, p, item.max_run_time.value);
                      }) &&
      reader.Optional(value, here, "priority", number(item.priority.value)) &&
      reader.Optional(value, here, "exit_code", number(item.exit_code.value)) &&
      reader.Optional(value, here, "status",
                      [&](const Json& v, const JsonPath& p) {
                        return reader.Named(v, p, Vocabulary{kWorkItemStatuses, "SCHED_S_TASK_"},
                                            "work item status", false, item.status.value);
                      }) &&
      reader.Optional(value, here, "next_run",
                      [&](const Json& v, const JsonPath& p) {
                        return ReadLocalTime(reader, v, p, item.next_run_time.value);
                      }) &&
      reader.Optional(value, here, "last_run",
                      [&](const Json& v, const JsonPath& p) {
                        return ReadLocalTime(reader, v, p, item.most_recent_run_time.value);
                      }) &&
      reader.Optional(value, here, "triggers", [&](const Json& v, const JsonPath& p) {
        return reader.StringList(v, p, triggers);
      });
  if (!ok) return false;
  if (out.name.empty()) return reader.Fail(path, "a work item needs a name");
  if (triggers.size() > 0xFFFF) return reader.Fail(path, "too many triggers");
  item.trigger_count.value = static_cast<std::uint16_t>(triggers.size());
  for (std::string& text : triggers) item.trigger_strings.emplace_back().value = std::move(text);
  return failures == nullptr ||
         ReadGetterFailures(reader, *failures, JsonPath{here, "failures"}, kWorkItemGetters, out);
}

std::string JoinTaskPath(std::string_view folder, std::string_view name) {
  return folder == "\\" ? "\\" + std::string(name) : std::string(folder) + "\\" + std::string(name);
}

// Reads the task folder tree under `root` into `folders`, pre-order, names
// sorted within each folder.
class TaskTreeReader {
 public:
  TaskTreeReader(JsonReader& reader, const JsonPath& path, std::vector<TaskFolderRecord>& folders)
      : reader_(reader), path_(path), folders_(folders) {}

  bool Folder(const std::filesystem::path& directory, const std::string& folder_path,
              std::size_t depth) {
    if (depth > kMaxFolderDepth) return Fail("task folders nested too deeply at " + folder_path);
    std::error_code ec;
    std::vector<std::filesystem::directory_entry> entries;
    for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end;
         it.increment(ec)) {
      entries.push_back(*it);
    }
    if (ec)
      return Fail("cannot read the task folder " + platform::Utf8Name(directory) + ": " +
                  ec.message());
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
      return text::ToLower(platform::Utf8Name(a.path().filename())) <
             text::ToLower(platform::Utf8Name(b.path().filename()));
    });
    const std::size_t index = folders_.size();
    folders_.emplace_back().path = folder_path;
    for (const auto& entry : entries) {
      const std::string name = platform::Utf8Name(entry.path().filename());
      if (name.starts_with('.')) continue;
      const std::string child = JoinTaskPath(folder_path, name);
      if (entry.is_directory(ec)) {
        folders_[index].subfolders.push_back(child);
        if (!Folder(entry.path(), child, depth + 1)) return false;
      } else if (!Task(entry.path(), name, child, folders_[index])) {
        return false;
      }
    }
    return true;
  }

 private:
  bool Fail(const std::string& message) { return reader_.Fail(path_, message); }

  bool Task(const std::filesystem::path& file, const std::string& name, const std::string& path,
            TaskFolderRecord& folder) {
    if (++files_ > kMaxTaskFiles)
      return Fail("more than " + std::to_string(kMaxTaskFiles) + " tasks");
    std::ifstream in(file, std::ios::binary);
    std::string bytes;
    if (in) {
      in.seekg(0, std::ios::end);
      const auto size = static_cast<std::streamoff>(in.tellg());
      in.seekg(0, std::ios::beg);
      if (size < 0 || static_cast<std::uint64_t>(size) > kMaxXmlBytes) {
        return Fail(platform::Utf8Name(file) + ": larger than " +
                    std::to_string(kMaxXmlBytes >> 10) + " KiB");
      }
      bytes.resize(static_cast<std::size_t>(size));
      in.read(bytes.data(), size);
    }
    if (!in) return Fail("cannot read the task file " + platform::Utf8Name(file));
    TaskXml xml;
    std::string error;
    if (!ReadTaskXml(bytes, platform::Utf8Name(file), xml, error)) return Fail(error);
    RegisteredTaskRecord record;
    platform::RegisteredTask& task = record.task;
    task.name.value = name;
    task.path.value = path;
    task.state.value = xml.enabled ? platform::kTaskStateReady : platform::kTaskStateDisabled;
    task.last_task_result.value = win::SCHED_S_TASK_HAS_NOT_RUN;
    task.definition.value = std::move(xml.definition);
    record.hidden = xml.hidden;
    folder.tasks.push_back(std::move(record));
    return true;
  }

  JsonReader& reader_;
  const JsonPath& path_;
  std::vector<TaskFolderRecord>& folders_;
  std::size_t files_ = 0;
};

RegisteredTaskRecord* FindTask(std::vector<TaskFolderRecord>& folders, std::string_view path) {
  for (TaskFolderRecord& folder : folders) {
    for (RegisteredTaskRecord& record : folder.tasks) {
      if (text::EqualsNoCase(record.task.path.value, path)) return &record;
    }
  }
  return nullptr;
}

bool ReadTaskState(JsonReader& reader, const Json& value, const JsonPath& path,
                   platform::RegisteredTask& task) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  std::uint32_t missed = 0;
  const Json* failures = JsonReader::Member(value, "failures");
  const bool ok = reader.Optional(value, here, "state", [&](const Json& v, const JsonPath& p) {
    return reader.Named(v, p, Vocabulary{kTaskStates, "TASK_STATE_"}, "task state", false,
                        task.state.value);
  }) && reader.Optional(value, here, "next_run", [&](const Json& v, const JsonPath& p) {
    return ReadOleDate(reader, v, p, task.next_run_time.value);
  }) && reader.Optional(value, here, "last_run", [&](const Json& v, const JsonPath& p) {
    return ReadOleDate(reader, v, p, task.last_run_time.value);
  }) && reader.Optional(value, here, "last_result", [&](const Json& v, const JsonPath& p) {
    return reader.Status(v, p, task.last_task_result.value);
  }) && reader.Optional(value, here, "missed_runs", [&](const Json& v, const JsonPath& p) {
    return reader.Uint32(v, p, missed);
  });
  if (!ok) return false;
  task.number_of_missed_runs.value = static_cast<std::int32_t>(missed);
  return failures == nullptr ||
         ReadGetterFailures(reader, *failures, JsonPath{here, "failures"}, kTaskGetters, task);
}

bool ReadFolderFailures(JsonReader& reader, const Json& value, const JsonPath& path,
                        TaskFolderRecord& folder) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  win::Status* fields[] = {&folder.get_folder, &folder.get_folders, &folder.get_tasks};
  for (const auto& [key, entry] : value.items()) {
    const auto call = std::find(kFolderCalls.begin(), kFolderCalls.end(), key);
    if (call == kFolderCalls.end()) {
      return reader.Fail(JsonPath{here, key},
                         "a folder can only fail GetTaskFolder, GetTaskFolders and GetTasks");
    }
    if (!reader.Status(entry, JsonPath{here, key}, *fields[call - kFolderCalls.begin()])) {
      return false;
    }
  }
  return true;
}

bool ReadTaskTree(JsonReader& reader, const Json& scheduled, const std::string& here,
                  std::string_view base_directory, ScheduledWork& out) {
  const Json* folder = JsonReader::Member(scheduled, "task_folder");
  if (folder == nullptr) return true;
  const JsonPath where{here, "task_folder"};
  std::string name;
  if (!reader.String(*folder, where, name)) return false;
  std::filesystem::path root = platform::Utf8Path(name);
  if (root.is_relative() && !base_directory.empty()) {
    root = platform::Utf8Path(base_directory) / root;
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(root, ec)) {
    return reader.Fail(where, "the task folder " + QuoteForMessage(platform::Utf8Name(root)) +
                                  " is not a directory");
  }
  std::vector<TaskFolderRecord>& folders = out.task_folders.emplace();
  if (!TaskTreeReader(reader, where, folders).Folder(root, "\\", 0)) return false;
  return reader.Optional(scheduled, here, "tasks", [&](const Json& v, const JsonPath& p) {
    if (!reader.ExpectObject(v, p)) return false;
    const std::string inner = p.str();
    for (const auto& [key, entry] : v.items()) {
      RegisteredTaskRecord* record = FindTask(folders, key);
      if (record == nullptr) {
        return reader.Fail(JsonPath{inner, key}, "no such task in the task folder");
      }
      if (!ReadTaskState(reader, entry, JsonPath{inner, key}, record->task)) {
        return false;
      }
    }
    return true;
  }) && reader.Optional(scheduled, here, "folder_failures", [&](const Json& v, const JsonPath& p) {
    if (!reader.ExpectObject(v, p)) return false;
    const std::string inner = p.str();
    for (const auto& [key, entry] : v.items()) {
      const std::string& wanted = key;  // a structured binding cannot be captured
      const auto found = std::find_if(
          folders.begin(), folders.end(),
          [&](const TaskFolderRecord& f) { return text::EqualsNoCase(f.path, wanted); });
      if (found == folders.end()) {
        return reader.Fail(JsonPath{inner, key}, "no such folder in the task folder");
      }
      if (!ReadFolderFailures(reader, entry, JsonPath{inner, key}, *found)) return false;
    }
    return true;
  });
}

}  // namespace

bool ReadScheduledWork(JsonReader& reader, const Json& value, const JsonPath& path,
                       std::string_view base_directory, ScheduledWork& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  return reader.Optional(value, here, "at_jobs", [&](const Json& v, const JsonPath& p) {
    return reader.Elements(v, p, [&](const Json& item, const JsonPath& at, std::size_t) {
      platform::AtEnum job;
      if (!ReadAtJob(reader, item, at, job)) return false;
      out.at_jobs.push_back(std::move(job));
      return true;
    });
  }) && reader.Optional(value, here, "work_items", [&](const Json& v, const JsonPath& p) {
    auto& items = out.work_items.emplace();
    return reader.Elements(v, p, [&](const Json& element, const JsonPath& at, std::size_t) {
      WorkItemRecord item;
      if (!ReadWorkItem(reader, element, at, item)) return false;
      items.push_back(std::move(item));
      return true;
    });
  }) && ReadTaskTree(reader, value, here, base_directory, out);
}

}  // namespace tabulon::estate
