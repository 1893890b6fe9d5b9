#include "estate/scheduled_tasks.h"

#include <algorithm>

#include "platform/text.h"

namespace tabulon::estate {
namespace {

// Where a local in-process server is created: no round trip, and only the
// failures injected on the local computer apply.
Destination Local(const Simulation& sim) {
  const Computer* local = sim.estate().LocalComputer();
  Destination to = sim.ToComputer(local);
  to.latency_ms = 0;
  to.reachable = true;
  return to;
}

// What a COM call to a computer that does not answer fails with.
win::Status UnreachableResult(const Computer* computer) {
  return computer == nullptr ? win::E_BAD_NETPATH : win::E_RPC_SERVER_UNAVAILABLE;
}

std::string ObjectText(platform::TaskSchedulerObject object) {
  return "object=" + std::to_string(object);
}

}  // namespace

const TaskFolderRecord* ScheduledWork::FindFolder(std::string_view path) const {
  if (!task_folders) return nullptr;
  for (const TaskFolderRecord& folder : *task_folders) {
    if (text::EqualsNoCase(folder.path, path)) return &folder;
  }
  return nullptr;
}

platform::ScheduleJobEnumResult EstateScheduleService::NetScheduleJobEnum(
    std::string_view server, std::uint32_t preferred_max_length, std::uint32_t resume_handle) {
  platform::ScheduleJobEnumResult result;
  const Computer* computer = sim_.estate().FindServer(server);
  result.status = sim_.Reach(
      session_, Operation::kNetScheduleJobEnum, server,
      [&] {
        return "prefmaxlen=" + Hex(preferred_max_length) +
               " resume=" + std::to_string(resume_handle);
      },
      sim_.ToComputer(computer), win::ERROR_BAD_NETPATH);
  if (result.status != win::ERROR_SUCCESS) return result;
  const std::vector<platform::AtEnum>& jobs = computer->scheduled.at_jobs;
  if (resume_handle < jobs.size()) {
    result.entries.assign(jobs.begin() + resume_handle, jobs.end());
  }
  result.total_entries = static_cast<std::uint32_t>(result.entries.size());
  return result;
}

platform::TaskSchedulerObjectResult EstateTaskScheduler::CreateTaskScheduler() {
  platform::TaskSchedulerObjectResult result;
  result.status = sim_.Reach(
      session_, Operation::kCreateTaskScheduler, "", [] { return std::string(); }, Local(sim_),
      win::ERROR_SUCCESS);
  if (result.status == win::ERROR_SUCCESS) result.object = objects_.Add(ObjectState{});
  return result;
}

win::Status EstateTaskScheduler::SetTargetComputer(platform::TaskSchedulerObject scheduler,
                                                   std::string_view computer_name) {
  ObjectState* state = objects_.Find(scheduler);
  const Computer* computer = sim_.estate().FindServer(computer_name);
  const bool valid = state != nullptr && !state->enumeration;
  win::Status status = sim_.Reach(
      session_, Operation::kSetTargetComputer, computer_name, [&] { return ObjectText(scheduler); },
      valid ? sim_.ToComputer(computer) : Destination{},
      valid ? UnreachableResult(computer) : win::E_INVALIDARG);
  if (status == win::ERROR_SUCCESS && !computer->scheduled.work_items) {
    status = win::SCHED_E_SERVICE_NOT_INSTALLED;
  }
  if (status != win::ERROR_SUCCESS) return status;
  state->computer = computer;
  state->host = std::string(computer_name);
  return status;
}

platform::TaskSchedulerObjectResult EstateTaskScheduler::Enum(
    platform::TaskSchedulerObject scheduler) {
  platform::TaskSchedulerObjectResult result;
  const ObjectState* state = objects_.Find(scheduler);
  const bool valid = state != nullptr && !state->enumeration && state->computer != nullptr;
  result.status = sim_.Reach(
      session_, Operation::kEnumWorkItems, valid ? state->host : "",
      [&] { return ObjectText(scheduler); },
      valid ? sim_.ToComputer(state->computer) : Destination{},
      valid ? UnreachableResult(state->computer) : win::E_INVALIDARG);
  if (result.status != win::ERROR_SUCCESS) return result;
  result.object = objects_.Add(ObjectState{true, state->computer, state->host, 0});
  return result;
}

win::Status EstateTaskScheduler::Reset(platform::TaskSchedulerObject enumeration) {
  ObjectState* state = objects_.Find(enumeration);
  if (state == nullptr || !state->enumeration) return win::E_INVALIDARG;
  state->next = 0;
  return win::ERROR_SUCCESS;
}

platform::WorkItemNamesResult EstateTaskScheduler::Next(platform::TaskSchedulerObject enumeration,
                                                        std::uint32_t count) {
  platform::WorkItemNamesResult result;
  ObjectState* state = objects_.Find(enumeration);
  if (state == nullptr || !state->enumeration || count == 0) {
    result.status = win::E_INVALIDARG;
    return result;
  }
  const std::vector<WorkItemRecord>& items = *state->computer->scheduled.work_items;
  while (result.names.size() < count && state->next < items.size()) {
    result.names.push_back(items[state->next++].name);
  }
  return result;
}

platform::ActivateResult EstateTaskScheduler::Activate(platform::TaskSchedulerObject scheduler,
                                                       std::string_view name) {
  platform::ActivateResult result;
  const ObjectState* state = objects_.Find(scheduler);
  const bool valid = state != nullptr && !state->enumeration && state->computer != nullptr;
  result.status = sim_.Reach(
      session_, Operation::kActivateWorkItem, valid ? state->host : "",
      [&] { return ObjectText(scheduler) + " name=" + std::string(name); },
      valid ? sim_.ToComputer(state->computer) : Destination{},
      valid ? UnreachableResult(state->computer) : win::E_INVALIDARG);
  if (result.status != win::ERROR_SUCCESS) return result;
  const std::vector<WorkItemRecord>& items = *state->computer->scheduled.work_items;
  const auto found = std::find_if(items.begin(), items.end(), [&](const WorkItemRecord& item) {
    return text::EqualsNoCase(item.name, name);
  });
  if (found == items.end()) {
    result.status = win::E_FILE_NOT_FOUND;
  } else if (found->activate_status != win::ERROR_SUCCESS) {
    result.status = found->activate_status;
  } else {
    result.task = found->item;
  }
  return result;
}

void EstateTaskScheduler::Release(platform::TaskSchedulerObject object) {
  const ObjectState* state = objects_.Find(object);
  sim_.Record(Operation::kReleaseTaskScheduler, state != nullptr ? state->host : "",
              [&] { return ObjectText(object); });
  objects_.Close(object);
}

std::vector<std::string> EstateTaskScheduler::DescribeOpenObjects() const {
  return objects_.Describe([](const ObjectState& state) {
    return (state.enumeration ? "work item enumeration " : "task scheduler ") + state.host;
  });
}

}  // namespace tabulon::estate
