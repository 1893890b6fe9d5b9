#include "platform/win32/terminal_services.h"

#include "platform/win32/last_error.h"

#include <windows.h>
#include <wtsapi32.h>

#include <string>
#include <vector>

#include "platform/win32/terminal_records.h"
#include "platform/win32/wide.h"

namespace tabulon::platform::win32 {

struct Win32TerminalServices::Api {
  using OpenServerFn = HANDLE(WINAPI*)(LPWSTR);
  using CloseServerFn = void(WINAPI*)(HANDLE);
  using EnumerateSessionsFn = BOOL(WINAPI*)(HANDLE, DWORD, DWORD, PWTS_SESSION_INFOW*, DWORD*);
  using EnumerateProcessesFn = BOOL(WINAPI*)(HANDLE, DWORD, DWORD, PWTS_PROCESS_INFOW*, DWORD*);
  using QuerySessionFn = BOOL(WINAPI*)(HANDLE, DWORD, WTS_INFO_CLASS, LPWSTR*, DWORD*);
  using QueryUserConfigFn = BOOL(WINAPI*)(LPWSTR, LPWSTR, WTS_CONFIG_CLASS, LPWSTR*, DWORD*);
  using FreeMemoryFn = void(WINAPI*)(PVOID);
  // Not in the SDK's headers: winsta's own export.
  using WinStationQueryFn = BOOLEAN(WINAPI*)(HANDLE, ULONG, int, PVOID, ULONG, PULONG);

  Api();
  ~Api();
  Api(const Api&) = delete;
  Api& operator=(const Api&) = delete;

  HMODULE wtsapi = nullptr;
  HMODULE winsta = nullptr;
  bool terminal_services = false;
  bool window_station = false;
  OpenServerFn open_server = nullptr;
  CloseServerFn close_server = nullptr;
  EnumerateSessionsFn enumerate_sessions = nullptr;
  EnumerateProcessesFn enumerate_processes = nullptr;
  QuerySessionFn query_session = nullptr;
  QueryUserConfigFn query_user_config = nullptr;
  FreeMemoryFn free_memory = nullptr;
  WinStationQueryFn winstation_query = nullptr;
};

namespace {

using Api = Win32TerminalServices::Api;

template <typename Fn>
Fn Procedure(HMODULE module, const char* name) {
  // Through the generic function pointer type, which any function type
  // converts from without a warning.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  return ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Frees what a WTS call allocated, on every path.
class WtsMemory {
 public:
  explicit WtsMemory(const Api& api) : api_(api) {}
  ~WtsMemory() {
    if (memory_ != nullptr) api_.free_memory(memory_);
  }
  WtsMemory(const WtsMemory&) = delete;
  WtsMemory& operator=(const WtsMemory&) = delete;

  template <typename T>
  T** out() {
    return reinterpret_cast<T**>(&memory_);
  }
  void* get() const { return memory_; }

 private:
  const Api& api_;
  void* memory_ = nullptr;
};

// A winsta record is small; a larger buffer than this is a mistake.
constexpr std::uint32_t kMaxWinStationBuffer = 64 * 1024;

}  // namespace

Win32TerminalServices::Api::Api() {
  wtsapi = LoadSystemLibrary(L"wtsapi32.dll");
  if (wtsapi == nullptr) return;
  open_server = Procedure<OpenServerFn>(wtsapi, "WTSOpenServerW");
  close_server = Procedure<CloseServerFn>(wtsapi, "WTSCloseServer");
  enumerate_sessions = Procedure<EnumerateSessionsFn>(wtsapi, "WTSEnumerateSessionsW");
  enumerate_processes = Procedure<EnumerateProcessesFn>(wtsapi, "WTSEnumerateProcessesW");
  query_session = Procedure<QuerySessionFn>(wtsapi, "WTSQuerySessionInformationW");
  query_user_config = Procedure<QueryUserConfigFn>(wtsapi, "WTSQueryUserConfigW");
  free_memory = Procedure<FreeMemoryFn>(wtsapi, "WTSFreeMemory");
  terminal_services = open_server != nullptr && close_server != nullptr &&
                      enumerate_sessions != nullptr && enumerate_processes != nullptr &&
                      query_session != nullptr && query_user_config != nullptr &&
                      free_memory != nullptr;
  if (!terminal_services) return;
  winsta = LoadSystemLibrary(L"winsta.dll");
  if (winsta == nullptr) return;
  winstation_query = Procedure<WinStationQueryFn>(winsta, "WinStationQueryInformationW");
  window_station = winstation_query != nullptr;
}

Win32TerminalServices::Api::~Api() {
  if (winsta != nullptr) ::FreeLibrary(winsta);
  if (wtsapi != nullptr) ::FreeLibrary(wtsapi);
}

Win32TerminalServices::Win32TerminalServices(BoundedCalls& calls)
    : calls_(calls), api_(std::make_shared<const Api>()) {}

Win32TerminalServices::~Win32TerminalServices() {
  std::vector<HANDLE> open;
  for (const auto& [number, handle] : servers_) {
    if (handle != WTS_CURRENT_SERVER_HANDLE) open.push_back(handle);
  }
  if (open.empty()) return;
  calls_.Release([api = api_, open] {
    for (HANDLE handle : open) api->close_server(handle);
  });
}

TerminalServicesLibraries Win32TerminalServices::Libraries() {
  return {api_->terminal_services, api_->window_station};
}

win::Status Win32TerminalServices::Find(TerminalServerHandle server, bool needs_window_station,
                                        void*& handle) const {
  if (!api_->terminal_services || (needs_window_station && !api_->window_station)) {
    return ERROR_PROC_NOT_FOUND;
  }
  const auto found = servers_.find(server);
  if (found == servers_.end()) return ERROR_INVALID_HANDLE;
  handle = found->second;
  return ERROR_SUCCESS;
}

TerminalServerResult Win32TerminalServices::OpenServer(std::string_view server_name) {
  if (!api_->terminal_services) return {ERROR_PROC_NOT_FOUND, 0};
  HANDLE handle = WTS_CURRENT_SERVER_HANDLE;
  if (!server_name.empty()) {
    struct Opened {
      win::Status status = ERROR_SUCCESS;
      HANDLE handle = nullptr;
    };
    const Opened opened = calls_.Run<Opened>([api = api_, wide = ToWide(server_name)] {
      Opened result;
      result.handle = api->open_server(const_cast<wchar_t*>(wide.c_str()));
      if (result.handle == nullptr) result.status = FailureStatus();
      return result;
    });
    if (opened.status != ERROR_SUCCESS) return {opened.status, 0};
    handle = opened.handle;
  }
  const TerminalServerHandle number = next_++;
  servers_.emplace(number, handle);
  return {ERROR_SUCCESS, number};
}

void Win32TerminalServices::CloseServer(TerminalServerHandle server) {
  const auto found = servers_.find(server);
  if (found == servers_.end()) return;
  const HANDLE handle = found->second;
  servers_.erase(found);
  if (handle == WTS_CURRENT_SERVER_HANDLE) return;
  // Closed even after a stop: the session's end no longer knows the number.
  calls_.Release([api = api_, handle] { api->close_server(handle); });
}

SessionListResult Win32TerminalServices::EnumerateSessions(TerminalServerHandle server,
                                                           std::uint32_t reserved,
                                                           std::uint32_t version) {
  SessionListResult result;
  HANDLE handle = nullptr;
  result.status = Find(server, false, handle);
  if (result.status != ERROR_SUCCESS) return result;
  return calls_.Run<SessionListResult>([api = api_, handle, reserved, version] {
    SessionListResult list;
    WtsMemory records(*api);
    DWORD count = 0;
    if (!api->enumerate_sessions(handle, reserved, version, records.out<WTS_SESSION_INFOW>(),
                                 &count)) {
      list.status = FailureStatus();
      return list;
    }
    list.status = DecodeSessions(records.get(), count, list.sessions);
    return list;
  });
}

ProcessListResult Win32TerminalServices::EnumerateProcesses(TerminalServerHandle server,
                                                            std::uint32_t reserved,
                                                            std::uint32_t version) {
  ProcessListResult result;
  HANDLE handle = nullptr;
  result.status = Find(server, false, handle);
  if (result.status != ERROR_SUCCESS) return result;
  return calls_.Run<ProcessListResult>([api = api_, handle, reserved, version] {
    ProcessListResult list;
    WtsMemory records(*api);
    DWORD count = 0;
    if (!api->enumerate_processes(handle, reserved, version, records.out<WTS_PROCESS_INFOW>(),
                                  &count)) {
      list.status = FailureStatus();
      return list;
    }
    list.status = DecodeProcesses(records.get(), count, list.processes);
    return list;
  });
}

SessionInformation Win32TerminalServices::QuerySessionInformation(TerminalServerHandle server,
                                                                  std::uint32_t session_id,
                                                                  std::uint32_t info_class) {
  SessionInformation result;
  HANDLE handle = nullptr;
  result.status = Find(server, false, handle);
  // Only the classes whose records are known are asked for.
  if (result.status == ERROR_SUCCESS && info_class > kWtsLastInfoClass) {
    result.status = ERROR_NOT_SUPPORTED;
  }
  if (result.status != ERROR_SUCCESS) return result;
  return calls_.Run<SessionInformation>([api = api_, handle, session_id, info_class] {
    WtsMemory buffer(*api);
    DWORD bytes = 0;
    if (!api->query_session(handle, session_id, static_cast<WTS_INFO_CLASS>(info_class),
                            buffer.out<wchar_t>(), &bytes)) {
      SessionInformation failed;
      failed.status = FailureStatus();
      return failed;
    }
    return DecodeSessionInformation(info_class, buffer.get(), bytes);
  });
}

UserConfigResult Win32TerminalServices::QueryUserConfig(std::string_view server_name,
                                                        std::string_view user_name,
                                                        std::uint32_t config_class) {
  UserConfigResult result;
  if (!api_->terminal_services) {
    result.status = ERROR_PROC_NOT_FOUND;
  } else if (config_class >= kWtsUserConfigClassCount) {
    result.status = ERROR_INVALID_PARAMETER;
  }
  if (result.status != ERROR_SUCCESS) return result;
  return calls_.Run<UserConfigResult>(
      [api = api_, server = ToWide(server_name), user = ToWide(user_name), config_class] {
        WtsMemory buffer(*api);
        DWORD bytes = 0;
        // No server name is this computer.
        if (!api->query_user_config(server.empty() ? nullptr : const_cast<wchar_t*>(server.c_str()),
                                    const_cast<wchar_t*>(user.c_str()),
                                    static_cast<WTS_CONFIG_CLASS>(config_class),
                                    buffer.out<wchar_t>(), &bytes)) {
          UserConfigResult failed;
          failed.status = FailureStatus();
          return failed;
        }
        return DecodeUserConfig(config_class, buffer.get(), bytes);
      });
}

WinStationInformationResult Win32TerminalServices::WinStationQueryInformation(
    TerminalServerHandle server, std::uint32_t session_id, std::uint32_t info_class,
    std::uint32_t buffer_length) {
  WinStationInformationResult result;
  HANDLE handle = nullptr;
  result.status = Find(server, true, handle);
  if (result.status == ERROR_SUCCESS && info_class != kWinStationInformation) {
    result.status = ERROR_NOT_SUPPORTED;
  } else if (result.status == ERROR_SUCCESS && buffer_length > kMaxWinStationBuffer) {
    result.status = ERROR_NOT_ENOUGH_MEMORY;
  }
  if (result.status != ERROR_SUCCESS) return result;
  return calls_.Run<WinStationInformationResult>(
      [api = api_, handle, session_id, info_class, buffer_length] {
        std::vector<std::uint64_t> words((buffer_length + 7) / 8);
        const std::span<const std::uint8_t> bytes(
            reinterpret_cast<const std::uint8_t*>(words.data()), buffer_length);
        ULONG returned = 0;
        if (!api->winstation_query(handle, session_id, static_cast<int>(info_class), words.data(),
                                   buffer_length, &returned)) {
          WinStationInformationResult failed;
          failed.status = FailureStatus();
          return failed;
        }
        return DecodeWinStationInformation(bytes, returned);
      });
}

}  // namespace tabulon::platform::win32
