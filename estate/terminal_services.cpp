#include "estate/terminal_services.h"

#include <algorithm>
#include <chrono>

#include "estate/sizes.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

constexpr std::uint32_t kUlongBytes = 4;
constexpr std::uint32_t kUshortBytes = 2;
constexpr std::uint32_t kClientDisplayBytes = 12;
constexpr std::uint32_t kClientAddressBytes = 24;

bool Reachable(const Computer* computer) {
  return computer != nullptr && !computer->offline;
}

platform::FileTime WallClockNow() {
  const auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
  const auto ticks =
      std::chrono::duration_cast<std::chrono::microseconds>(since_epoch).count() * 10;
  return platform::kFileTimeUnixEpoch + ticks;
}

const TerminalSession* FindSession(const Computer& computer, std::uint32_t id) {
  const auto& sessions = computer.terminal.sessions;
  const auto it = std::find_if(sessions.begin(), sessions.end(),
                               [id](const TerminalSession& s) { return s.id == id; });
  return it == sessions.end() ? nullptr : &*it;
}

void AnswerText(platform::SessionInformation& out, const std::string& text) {
  out.text = text;
  out.bytes_returned = WideStringBytes(text);
}

void AnswerNumber(platform::SessionInformation& out, std::uint32_t number, std::uint32_t bytes) {
  out.number = number;
  out.bytes_returned = bytes;
}

// What one information class of a session answers.
void Answer(const TerminalSession& s, std::uint32_t info_class, platform::SessionInformation& out) {
  switch (info_class) {
    case platform::kWtsInitialProgram:
      return AnswerText(out, s.initial_program);
    case platform::kWtsApplicationName:
      return AnswerText(out, s.application_name);
    case platform::kWtsWorkingDirectory:
      return AnswerText(out, s.working_directory);
    case platform::kWtsOemId:
      return AnswerText(out, s.oem_id);
    case platform::kWtsSessionId:
      return AnswerNumber(out, s.id, kUlongBytes);
    case platform::kWtsUserName:
      return AnswerText(out, s.user_name);
    case platform::kWtsWinStationName:
      return AnswerText(out, s.station);
    case platform::kWtsDomainName:
      return AnswerText(out, s.domain_name);
    case platform::kWtsConnectState:
      return AnswerNumber(out, s.state, kUlongBytes);
    case platform::kWtsClientBuildNumber:
      return AnswerNumber(out, s.client_build, kUlongBytes);
    case platform::kWtsClientName:
      return AnswerText(out, s.client_name);
    case platform::kWtsClientDirectory:
      return AnswerText(out, s.client_directory);
    case platform::kWtsClientProductId:
      return AnswerNumber(out, s.client_product_id, kUshortBytes);
    case platform::kWtsClientHardwareId:
      return AnswerNumber(out, s.client_hardware_id, kUlongBytes);
    case platform::kWtsClientAddress:
      out.address = s.address;
      out.bytes_returned = kClientAddressBytes;
      return;
    case platform::kWtsClientDisplay:
      out.display = s.display;
      out.bytes_returned = kClientDisplayBytes;
      return;
    case platform::kWtsClientProtocolType:
      return AnswerNumber(out, s.protocol_type, kUshortBytes);
    default:
      out.status = win::ERROR_NOT_SUPPORTED;
      return;
  }
}

std::string HandleText(platform::TerminalServerHandle handle) {
  return "handle=" + std::to_string(handle);
}

}  // namespace

platform::TerminalServicesLibraries EstateTerminalServices::Libraries() {
  const platform::TerminalServicesLibraries& probed = sim_.estate().libraries;
  return {probed.terminal_services, probed.terminal_services && probed.window_station};
}

const EstateTerminalServices::HandleState* EstateTerminalServices::Reach(
    platform::TerminalServerHandle server, win::Status& status) {
  if (!sim_.estate().libraries.terminal_services) {
    status = win::ERROR_PROC_NOT_FOUND;
    return nullptr;
  }
  const auto it = handles_.find(server);
  if (it == handles_.end()) {
    status = win::ERROR_INVALID_HANDLE;
    return nullptr;
  }
  sim_.Wait(it->second.computer);
  if (!Reachable(it->second.computer)) {
    status = win::RPC_S_SERVER_UNAVAILABLE;
    return nullptr;
  }
  status = win::ERROR_SUCCESS;
  return &it->second;
}

platform::TerminalServerResult EstateTerminalServices::OpenServer(std::string_view server_name) {
  const Estate& estate = sim_.estate();
  platform::TerminalServerResult result;
  sim_.Record(Operation::kWTSOpenServer, server_name, [] { return std::string(); });
  if (!estate.libraries.terminal_services) {
    result.status = win::ERROR_PROC_NOT_FOUND;
    return result;
  }
  const Computer* computer = estate.FindServer(server_name);
  if (computer != nullptr) {
    result.status =
        sim_.Injected(Operation::kWTSOpenServer, computer->failures, estate.IndexOf(*computer));
    if (result.status != win::ERROR_SUCCESS) return result;
  }
  result.handle = next_handle_++;
  handles_.emplace(result.handle, HandleState{computer, std::string(server_name)});
  return result;
}

void EstateTerminalServices::CloseServer(platform::TerminalServerHandle server) {
  const auto it = handles_.find(server);
  sim_.Record(Operation::kWTSCloseServer, it != handles_.end() ? it->second.host : "",
              [&] { return HandleText(server); });
  if (it != handles_.end()) handles_.erase(it);
}

platform::SessionListResult EstateTerminalServices::EnumerateSessions(
    platform::TerminalServerHandle server, std::uint32_t reserved, std::uint32_t version) {
  const auto it = handles_.find(server);
  sim_.Record(Operation::kWTSEnumerateSessions, it != handles_.end() ? it->second.host : "", [&] {
    return "reserved=" + std::to_string(reserved) + " version=" + std::to_string(version);
  });
  platform::SessionListResult result;
  const HandleState* state = Reach(server, result.status);
  if (state == nullptr) return result;
  if (reserved != 0 || version != 1) {
    result.status = win::ERROR_INVALID_PARAMETER;
    return result;
  }
  const Computer& computer = *state->computer;
  result.status = sim_.Injected(Operation::kWTSEnumerateSessions, computer.failures,
                                sim_.estate().IndexOf(computer));
  if (result.status != win::ERROR_SUCCESS) return result;
  for (const TerminalSession& s : computer.terminal.sessions) {
    result.sessions.push_back({s.id, s.station, s.state});
  }
  return result;
}

platform::ProcessListResult EstateTerminalServices::EnumerateProcesses(
    platform::TerminalServerHandle server, std::uint32_t reserved, std::uint32_t version) {
  const auto it = handles_.find(server);
  sim_.Record(Operation::kWTSEnumerateProcesses, it != handles_.end() ? it->second.host : "", [&] {
    return "reserved=" + std::to_string(reserved) + " version=" + std::to_string(version);
  });
  platform::ProcessListResult result;
  const HandleState* state = Reach(server, result.status);
  if (state == nullptr) return result;
  if (reserved != 0 || version != 1) {
    result.status = win::ERROR_INVALID_PARAMETER;
    return result;
  }
  const Computer& computer = *state->computer;
  result.status = sim_.Injected(Operation::kWTSEnumerateProcesses, computer.failures,
                                sim_.estate().IndexOf(computer));
  if (result.status != win::ERROR_SUCCESS) return result;
  result.processes = computer.terminal.processes;
  return result;
}

platform::SessionInformation EstateTerminalServices::QuerySessionInformation(
    platform::TerminalServerHandle server, std::uint32_t session_id, std::uint32_t info_class) {
  const auto it = handles_.find(server);
  sim_.Record(
      Operation::kWTSQuerySessionInformation, it != handles_.end() ? it->second.host : "", [&] {
        return "session=" + std::to_string(session_id) + " class=" + std::to_string(info_class);
      });
  platform::SessionInformation result;
  const HandleState* state = Reach(server, result.status);
  if (state == nullptr) return result;
  const Computer& computer = *state->computer;
  const std::uint32_t scope = sim_.estate().IndexOf(computer);
  result.status = sim_.Injected(Operation::kWTSQuerySessionInformation, computer.failures, scope);
  if (result.status != win::ERROR_SUCCESS) return result;
  const TerminalSession* session = FindSession(computer, session_id);
  if (session == nullptr) {
    result.status = win::ERROR_CTX_WINSTATION_NOT_FOUND;
    return result;
  }
  result.status = sim_.Injected(Operation::kWTSQuerySessionInformation, session->failures, scope);
  if (result.status != win::ERROR_SUCCESS) return result;
  if (info_class <= platform::kWtsLastInfoClass && (session->empty_classes >> info_class) & 1u) {
    return result;  // answered, with no bytes
  }
  Answer(*session, info_class, result);
  return result;
}

platform::UserConfigResult EstateTerminalServices::QueryUserConfig(std::string_view server_name,
                                                                   std::string_view user_name,
                                                                   std::uint32_t config_class) {
  const Estate& estate = sim_.estate();
  sim_.Record(Operation::kWTSQueryUserConfig, server_name, [&] {
    return "user=" + std::string(user_name) + " class=" + std::to_string(config_class);
  });
  platform::UserConfigResult result;
  if (!estate.libraries.terminal_services) {
    result.status = win::ERROR_PROC_NOT_FOUND;
    return result;
  }
  const Computer* computer = estate.FindServer(server_name);
  sim_.Wait(computer);
  if (!Reachable(computer)) {
    result.status = win::ERROR_BAD_NETPATH;
    return result;
  }
  if (config_class >= platform::kWtsUserConfigClassCount) {
    result.status = win::ERROR_INVALID_PARAMETER;
    return result;
  }
  result.status =
      sim_.Injected(Operation::kWTSQueryUserConfig, computer->failures, estate.IndexOf(*computer));
  if (result.status != win::ERROR_SUCCESS) return result;
  const auto& configs = computer->terminal.user_configs;
  const auto found = std::find_if(configs.begin(), configs.end(), [&](const TerminalUserConfig& c) {
    return text::EqualsNoCase(c.user, user_name);
  });
  if (found == configs.end()) {
    result.status = win::NERR_UserNotFound;
    return result;
  }
  if (platform::IsTextUserConfigClass(config_class)) {
    result.text = found->texts[config_class];
    result.bytes_returned = WideStringBytes(result.text);
  } else {
    result.number = found->numbers[config_class];
    result.bytes_returned = kUlongBytes;
  }
  return result;
}

platform::WinStationInformationResult EstateTerminalServices::WinStationQueryInformation(
    platform::TerminalServerHandle server, std::uint32_t session_id, std::uint32_t info_class,
    std::uint32_t buffer_length) {
  const auto it = handles_.find(server);
  sim_.Record(
      Operation::kWinStationQueryInformation, it != handles_.end() ? it->second.host : "", [&] {
        return "session=" + std::to_string(session_id) + " class=" + std::to_string(info_class) +
               " size=" + std::to_string(buffer_length);
      });
  platform::WinStationInformationResult result;
  if (!Libraries().window_station) {
    result.status = win::ERROR_PROC_NOT_FOUND;
    return result;
  }
  const HandleState* state = Reach(server, result.status);
  if (state == nullptr) return result;
  if (info_class != platform::kWinStationInformation) {
    result.status = win::ERROR_NOT_SUPPORTED;
    return result;
  }
  if (buffer_length < platform::kWinStationInformationSize) {
    result.status = win::ERROR_INSUFFICIENT_BUFFER;
    return result;
  }
  const Computer& computer = *state->computer;
  const std::uint32_t scope = sim_.estate().IndexOf(computer);
  result.status = sim_.Injected(Operation::kWinStationQueryInformation, computer.failures, scope);
  if (result.status != win::ERROR_SUCCESS) return result;
  const TerminalSession* session = FindSession(computer, session_id);
  if (session == nullptr) {
    result.status = win::ERROR_CTX_WINSTATION_NOT_FOUND;
    return result;
  }
  result.status = sim_.Injected(Operation::kWinStationQueryInformation, session->failures, scope);
  if (result.status != win::ERROR_SUCCESS) return result;
  result.times = session->times;
  result.times.current_time = computer.terminal.current_time.value_or(WallClockNow());
  result.returned_length = platform::kWinStationInformationSize;
  return result;
}

std::vector<std::string> EstateTerminalServices::DescribeOpenHandles() const {
  std::vector<std::pair<platform::TerminalServerHandle, std::string>> open;
  for (const auto& [handle, state] : handles_) open.emplace_back(handle, "server " + state.host);
  std::sort(open.begin(), open.end());
  std::vector<std::string> out;
  out.reserve(open.size());
  for (auto& entry : open) out.push_back(std::move(entry.second));
  return out;
}

}  // namespace tabulon::estate
