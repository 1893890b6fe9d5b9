#include "estate/terminal_services.h"

#include <algorithm>
#include <chrono>

#include "platform/sizes.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

constexpr std::uint32_t kUlongBytes = 4;
constexpr std::uint32_t kUshortBytes = 2;
constexpr std::uint32_t kClientDisplayBytes = 12;
constexpr std::uint32_t kClientAddressBytes = 24;

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
  out.bytes_returned = platform::WideStringBytes(text);
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

template <typename DetailFn>
const EstateTerminalServices::HandleState* EstateTerminalServices::Reach(
    Operation op, platform::TerminalServerHandle server, bool has_library, DetailFn&& detail,
    win::Status& status) {
  const HandleState* state = handles_.Find(server);
  const bool through = has_library && state != nullptr;
  status = sim_.Reach(session_, op, state != nullptr ? state->host : "", detail,
                      through ? sim_.ToComputer(state->computer) : Destination{},
                      !has_library       ? win::ERROR_PROC_NOT_FOUND
                      : state == nullptr ? win::ERROR_INVALID_HANDLE
                                         : win::RPC_S_SERVER_UNAVAILABLE);
  return status == win::ERROR_SUCCESS ? state : nullptr;
}

platform::TerminalServerResult EstateTerminalServices::OpenServer(std::string_view server_name) {
  const Estate& estate = sim_.estate();
  platform::TerminalServerResult result;
  const bool has_library = estate.libraries.terminal_services;
  const Computer* computer = has_library ? estate.FindServer(server_name) : nullptr;
  // Opening is local: no round trip, and it works whether or not anything
  // answers at that name.
  Destination to = sim_.ToComputer(computer);
  to.latency_ms = 0;
  to.reachable = has_library;
  result.status = sim_.Reach(
      session_, Operation::kWTSOpenServer, server_name, [] { return std::string(); }, to,
      win::ERROR_PROC_NOT_FOUND);
  if (result.status != win::ERROR_SUCCESS) return result;
  result.handle = handles_.Add(HandleState{computer, std::string(server_name)});
  return result;
}

void EstateTerminalServices::CloseServer(platform::TerminalServerHandle server) {
  const HandleState* state = handles_.Find(server);
  sim_.Record(Operation::kWTSCloseServer, state != nullptr ? state->host : "",
              [&] { return HandleText(server); });
  handles_.Close(server);
}

platform::SessionListResult EstateTerminalServices::EnumerateSessions(
    platform::TerminalServerHandle server, std::uint32_t reserved, std::uint32_t version) {
  platform::SessionListResult result;
  const HandleState* state = Reach(
      Operation::kWTSEnumerateSessions, server, sim_.estate().libraries.terminal_services,
      [&] {
        return "reserved=" + std::to_string(reserved) + " version=" + std::to_string(version);
      },
      result.status);
  if (state == nullptr) return result;
  if (reserved != 0 || version != 1) {
    result.status = win::ERROR_INVALID_PARAMETER;
    return result;
  }
  const Computer& computer = *state->computer;
  for (const TerminalSession& s : computer.terminal.sessions) {
    result.sessions.push_back({s.id, s.station, s.state});
  }
  return result;
}

platform::ProcessListResult EstateTerminalServices::EnumerateProcesses(
    platform::TerminalServerHandle server, std::uint32_t reserved, std::uint32_t version) {
  platform::ProcessListResult result;
  const HandleState* state = Reach(
      Operation::kWTSEnumerateProcesses, server, sim_.estate().libraries.terminal_services,
      [&] {
        return "reserved=" + std::to_string(reserved) + " version=" + std::to_string(version);
      },
      result.status);
  if (state == nullptr) return result;
  if (reserved != 0 || version != 1) {
    result.status = win::ERROR_INVALID_PARAMETER;
    return result;
  }
  result.processes = state->computer->terminal.processes;
  return result;
}

platform::SessionInformation EstateTerminalServices::QuerySessionInformation(
    platform::TerminalServerHandle server, std::uint32_t session_id, std::uint32_t info_class) {
  platform::SessionInformation result;
  const HandleState* state = Reach(
      Operation::kWTSQuerySessionInformation, server, sim_.estate().libraries.terminal_services,
      [&] {
        return "session=" + std::to_string(session_id) + " class=" + std::to_string(info_class);
      },
      result.status);
  if (state == nullptr) return result;
  const Computer& computer = *state->computer;
  const std::uint32_t scope = sim_.estate().IndexOf(computer);
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
  platform::UserConfigResult result;
  const bool has_library = estate.libraries.terminal_services;
  const Computer* computer = has_library ? estate.FindServer(server_name) : nullptr;
  result.status = sim_.Reach(
      session_, Operation::kWTSQueryUserConfig, server_name,
      [&] { return "user=" + std::string(user_name) + " class=" + std::to_string(config_class); },
      has_library ? sim_.ToComputer(computer) : Destination{},
      has_library ? win::ERROR_BAD_NETPATH : win::ERROR_PROC_NOT_FOUND);
  if (result.status != win::ERROR_SUCCESS) return result;
  if (config_class >= platform::kWtsUserConfigClassCount) {
    result.status = win::ERROR_INVALID_PARAMETER;
    return result;
  }
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
    result.bytes_returned = platform::WideStringBytes(result.text);
  } else {
    result.number = found->numbers[config_class];
    result.bytes_returned = kUlongBytes;
  }
  return result;
}

platform::WinStationInformationResult EstateTerminalServices::WinStationQueryInformation(
    platform::TerminalServerHandle server, std::uint32_t session_id, std::uint32_t info_class,
    std::uint32_t buffer_length) {
  platform::WinStationInformationResult result;
  const HandleState* state = Reach(
      Operation::kWinStationQueryInformation, server, Libraries().window_station,
      [&] {
        return "session=" + std::to_string(session_id) + " class=" + std::to_string(info_class) +
               " size=" + std::to_string(buffer_length);
      },
      result.status);
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
  return handles_.Describe(
      [](const HandleState& state) { return "terminal server " + state.host; });
}

}  // namespace tabulon::estate
