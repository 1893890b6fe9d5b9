#include "estate/task_service.h"

namespace tabulon::estate {
namespace {

std::string ObjectText(platform::TaskServiceObject object) {
  return "object=" + std::to_string(object);
}

}  // namespace

platform::TaskServiceResult EstateTaskService::CreateTaskService() {
  platform::TaskServiceResult result;
  Destination to = sim_.ToComputer(sim_.estate().LocalComputer());
  to.latency_ms = 0;
  to.reachable = true;
  result.status = sim_.Reach(
      session_, Operation::kCreateTaskService, "", [] { return std::string(); }, to,
      win::ERROR_SUCCESS);
  if (result.status == win::ERROR_SUCCESS) result.object = objects_.Add(ServiceState{});
  return result;
}

win::Status EstateTaskService::Connect(platform::TaskServiceObject service,
                                       std::string_view server_name) {
  ServiceState* state = objects_.Find(service);
  const Computer* computer = sim_.estate().FindServer(server_name);
  win::Status status = sim_.Reach(
      session_, Operation::kTaskServiceConnect, server_name, [&] { return ObjectText(service); },
      state != nullptr ? sim_.ToComputer(computer) : Destination{},
      state == nullptr      ? win::E_INVALIDARG
      : computer == nullptr ? win::E_BAD_NETPATH
                            : win::E_RPC_SERVER_UNAVAILABLE);
  // A computer before Task Scheduler 2.0 refuses the connection.
  if (status == win::ERROR_SUCCESS && !computer->scheduled.task_folders) {
    status = win::E_NOT_SUPPORTED;
  }
  if (status != win::ERROR_SUCCESS) return status;
  state->computer = computer;
  state->host = std::string(server_name);
  return status;
}

template <typename DetailFn>
const TaskFolderRecord* EstateTaskService::ReachFolder(Operation op,
                                                       platform::TaskServiceObject service,
                                                       std::string_view path, DetailFn&& detail,
                                                       win::Status& status) {
  const ServiceState* state = objects_.Find(service);
  const bool connected = state != nullptr && state->computer != nullptr;
  status = sim_.Reach(session_, op, connected ? state->host : "", detail,
                      connected ? sim_.ToComputer(state->computer) : Destination{},
                      connected ? win::E_RPC_SERVER_UNAVAILABLE : win::E_INVALIDARG);
  if (status != win::ERROR_SUCCESS) return nullptr;
  const TaskFolderRecord* folder = state->computer->scheduled.FindFolder(path);
  if (folder == nullptr) status = win::E_FILE_NOT_FOUND;
  return folder;
}

platform::TaskFolderResult EstateTaskService::GetFolder(platform::TaskServiceObject service,
                                                        std::string_view path) {
  platform::TaskFolderResult result;
  const TaskFolderRecord* folder = ReachFolder(
      Operation::kGetTaskFolder, service, path,
      [&] { return ObjectText(service) + " path=" + std::string(path); }, result.status);
  if (folder == nullptr) return result;
  result.status = folder->get_folder;
  if (result.status == win::ERROR_SUCCESS) result.path = folder->path;
  return result;
}

platform::TaskFolderListResult EstateTaskService::GetFolders(platform::TaskServiceObject service,
                                                             std::string_view folder_path,
                                                             std::uint32_t flags) {
  platform::TaskFolderListResult result;
  const TaskFolderRecord* folder = ReachFolder(
      Operation::kGetTaskFolders, service, folder_path,
      [&] {
        return ObjectText(service) + " path=" + std::string(folder_path) +
               " flags=" + std::to_string(flags);
      },
      result.status);
  if (folder == nullptr) return result;
  // Opening the folder is what its own GetFolder failure stands for.
  result.status = folder->get_folder != win::ERROR_SUCCESS ? folder->get_folder
                  : flags != 0                             ? win::E_INVALIDARG
                                                           : folder->get_folders;
  if (result.status != win::ERROR_SUCCESS) return result;
  for (const std::string& path : folder->subfolders) result.paths.emplace_back().value = path;
  return result;
}

platform::RegisteredTaskListResult EstateTaskService::GetTasks(platform::TaskServiceObject service,
                                                               std::string_view folder_path,
                                                               std::uint32_t flags) {
  platform::RegisteredTaskListResult result;
  const TaskFolderRecord* folder = ReachFolder(
      Operation::kGetTasks, service, folder_path,
      [&] {
        return ObjectText(service) + " path=" + std::string(folder_path) +
               " flags=" + std::to_string(flags);
      },
      result.status);
  if (folder == nullptr) return result;
  result.status = folder->get_folder != win::ERROR_SUCCESS ? folder->get_folder : folder->get_tasks;
  if (result.status != win::ERROR_SUCCESS) return result;
  const bool hidden = (flags & platform::kTaskEnumHidden) != 0;
  for (const RegisteredTaskRecord& record : folder->tasks) {
    if (hidden || !record.hidden) result.tasks.push_back(record.task);
  }
  return result;
}

void EstateTaskService::Release(platform::TaskServiceObject service) {
  const ServiceState* state = objects_.Find(service);
  sim_.Record(Operation::kReleaseTaskService, state != nullptr ? state->host : "",
              [&] { return ObjectText(service); });
  objects_.Close(service);
}

std::vector<std::string> EstateTaskService::DescribeOpenObjects() const {
  return objects_.Describe([](const ServiceState& state) { return "task service " + state.host; });
}

}  // namespace tabulon::estate
