#include "platform/win32/terminal_records.h"

#include <windows.h>
#include <wtsapi32.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "platform/win32/native_sid.h"
#include "platform/win32/wide.h"

namespace tabulon::platform::win32 {
namespace {

constexpr std::uint32_t kUlongBytes = 4;
constexpr std::uint32_t kUshortBytes = 2;
constexpr std::uint32_t kClientDisplayBytes = 12;
constexpr std::uint32_t kClientAddressBytes = 24;

// WINSTATIONINFORMATION: the four session times follow the state, the
// station name and the session id; the server's clock ends the record.
constexpr std::size_t kConnectTimeAt = 80;
constexpr std::size_t kDisconnectTimeAt = 88;
constexpr std::size_t kLastInputTimeAt = 96;
constexpr std::size_t kLogonTimeAt = 104;
constexpr std::size_t kCurrentTimeAt = 1208;

std::string Name(const wchar_t* text) {
  return text == nullptr ? std::string() : ToUtf8({text, ::wcsnlen(text, kMaxWtsNameChars)});
}

// The text of a buffer of `bytes` bytes, up to its terminator if it has one.
std::string Text(const void* buffer, std::uint32_t bytes) {
  const auto* text = static_cast<const wchar_t*>(buffer);
  return ToUtf8({text, ::wcsnlen(text, bytes / sizeof(wchar_t))});
}

enum class Kind { kText, kUlong, kUshort, kDisplay, kAddress };

Kind KindOf(std::uint32_t info_class) {
  switch (info_class) {
    case kWtsSessionId:
    case kWtsConnectState:
    case kWtsClientBuildNumber:
    case kWtsClientHardwareId:
      return Kind::kUlong;
    case kWtsClientProductId:
    case kWtsClientProtocolType:
      return Kind::kUshort;
    case kWtsClientDisplay:
      return Kind::kDisplay;
    case kWtsClientAddress:
      return Kind::kAddress;
    default:
      return Kind::kText;
  }
}

std::uint32_t RecordBytes(Kind kind) {
  switch (kind) {
    case Kind::kUlong:
      return kUlongBytes;
    case Kind::kUshort:
      return kUshortBytes;
    case Kind::kDisplay:
      return kClientDisplayBytes;
    case Kind::kAddress:
      return kClientAddressBytes;
    case Kind::kText:
      break;
  }
  return 0;
}

std::int64_t TimeAt(std::span<const std::uint8_t> buffer, std::size_t at) {
  std::int64_t time = 0;
  std::memcpy(&time, buffer.data() + at, sizeof time);
  return time;
}

}  // namespace

win::Status DecodeSessions(const void* records, std::uint32_t count,
                           std::vector<WtsSessionInfo>& sessions) {
  sessions.clear();
  if (count > kMaxWtsSessions || (count != 0 && records == nullptr)) return ERROR_INVALID_DATA;
  const auto* info = static_cast<const WTS_SESSION_INFOW*>(records);
  for (std::uint32_t i = 0; i < count; ++i) {
    sessions.push_back({info[i].SessionId, Name(info[i].pWinStationName),
                        static_cast<std::uint32_t>(info[i].State)});
  }
  return ERROR_SUCCESS;
}

win::Status DecodeProcesses(const void* records, std::uint32_t count,
                            std::vector<WtsProcessInfo>& processes) {
  processes.clear();
  if (count > kMaxWtsProcesses || (count != 0 && records == nullptr)) return ERROR_INVALID_DATA;
  const auto* info = static_cast<const WTS_PROCESS_INFOW*>(records);
  for (std::uint32_t i = 0; i < count; ++i) {
    WtsProcessInfo process{info[i].SessionId, info[i].ProcessId, Name(info[i].pProcessName), {}};
    if (info[i].pUserSid != nullptr) {
      process.user_sid = SidOf(info[i].pUserSid);
      if (!process.user_sid) {
        processes.clear();
        return ERROR_INVALID_DATA;
      }
    }
    processes.push_back(std::move(process));
  }
  return ERROR_SUCCESS;
}

SessionInformation DecodeSessionInformation(std::uint32_t info_class, const void* buffer,
                                            std::uint32_t bytes) {
  SessionInformation info;
  info.bytes_returned = bytes;
  // A class answered with no bytes is no data, not a failure.
  if (bytes == 0) return info;
  const Kind kind = KindOf(info_class);
  if (buffer == nullptr || bytes < RecordBytes(kind)) {
    info.status = ERROR_INVALID_DATA;
    info.bytes_returned = 0;
    return info;
  }
  switch (kind) {
    case Kind::kText:
      info.text = Text(buffer, bytes);
      break;
    case Kind::kUlong:
      std::memcpy(&info.number, buffer, kUlongBytes);
      break;
    case Kind::kUshort: {
      std::uint16_t number = 0;
      std::memcpy(&number, buffer, kUshortBytes);
      info.number = number;
      break;
    }
    case Kind::kDisplay: {
      WTS_CLIENT_DISPLAY display;
      std::memcpy(&display, buffer, sizeof display);
      info.display = {display.HorizontalResolution, display.VerticalResolution, display.ColorDepth};
      break;
    }
    case Kind::kAddress: {
      WTS_CLIENT_ADDRESS address;
      std::memcpy(&address, buffer, sizeof address);
      info.address.address_family = address.AddressFamily;
      std::memcpy(info.address.address.data(), address.Address, info.address.address.size());
      break;
    }
  }
  return info;
}

UserConfigResult DecodeUserConfig(std::uint32_t config_class, const void* buffer,
                                  std::uint32_t bytes) {
  UserConfigResult config;
  config.bytes_returned = bytes;
  if (bytes == 0) return config;
  const bool text = IsTextUserConfigClass(config_class);
  if (buffer == nullptr || (!text && bytes < kUlongBytes)) {
    config.status = ERROR_INVALID_DATA;
    config.bytes_returned = 0;
    return config;
  }
  if (text) {
    config.text = Text(buffer, bytes);
  } else {
    std::memcpy(&config.number, buffer, kUlongBytes);
  }
  return config;
}

WinStationInformationResult DecodeWinStationInformation(std::span<const std::uint8_t> buffer,
                                                        std::uint32_t returned_length) {
  WinStationInformationResult result;
  if (returned_length < kWinStationInformationSize || returned_length > buffer.size() ||
      buffer.size() < kWinStationInformationSize) {
    result.status = ERROR_INVALID_DATA;
    return result;
  }
  result.returned_length = returned_length;
  result.times = {TimeAt(buffer, kConnectTimeAt), TimeAt(buffer, kDisconnectTimeAt),
                  TimeAt(buffer, kLastInputTimeAt), TimeAt(buffer, kLogonTimeAt),
                  TimeAt(buffer, kCurrentTimeAt)};
  return result;
}

}  // namespace tabulon::platform::win32
