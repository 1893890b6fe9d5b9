#include "exporters/server/terminal/terminal_sessions.h"

#include "engine/row.h"
#include "exporters/toolkit/simple_unit.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <optional>

#include "engine/messages.h"
#include "exporters/server/terminal/terminal_server.h"
#include "format/time_texts.h"

namespace tabulon {
namespace {

enum Column : std::uint32_t {
  kId = 0,
  kWinStation = 1,
  kState = 2,
  kBuild = 4,
  kHardware = 11,
  kProduct = 12,
  kProtocol = 13,
  kHorizontal = 15,
  kVertical = 16,
  kBits = 17,
  kAddressType = 18,
  kAddress = 19,
  kIdleTime = 20,
  kLogonTime = 21,
  kConnectTime = 22,
  kDisconnectTime = 23,
  kLastInputTime = 24,
};

// The information class each of the columns 3 to 14 asks for.
constexpr std::uint32_t kClassOfColumn[] = {
    platform::kWtsApplicationName, platform::kWtsClientBuildNumber,  platform::kWtsClientDirectory,
    platform::kWtsClientName,      platform::kWtsDomainName,         platform::kWtsUserName,
    platform::kWtsInitialProgram,  platform::kWtsWorkingDirectory,   platform::kWtsClientHardwareId,
    platform::kWtsClientProductId, platform::kWtsClientProtocolType, platform::kWtsOemId,
};
constexpr std::uint32_t kFirstQueriedColumn = 3;

std::string_view StateName(std::uint32_t state) {
  static constexpr std::string_view kNames[] = {
      "Active", "Connected", "Connecting", "Shadowing", "Disconnected",
      "Idle",   "Listening", "Reseting",   "Down",      "Initializing"};
  return state < std::size(kNames) ? kNames[state] : std::string_view();
}

std::string_view ProtocolName(std::uint32_t protocol) {
  static constexpr std::string_view kNames[] = {"CONSOLE", "ICA", "RDP"};
  return protocol < std::size(kNames) ? kNames[protocol] : std::string_view();
}

std::string_view FamilyName(std::uint32_t family) {
  switch (family) {
    case platform::kAfUnspec:
      return "AF_UNSPEC";
    case platform::kAfInet:
      return "AF_INET";
    case platform::kAfIpx:
      return "AF_IPX";
    case platform::kAfNetbios:
      return "AF_NETBIOS";
    case platform::kAfInet6:
      return "AF_INET6";
    default:
      return {};
  }
}

// Bits per pixel of a client colour depth code; 0 for an unknown code.
std::uint32_t BitsPerPixel(std::uint32_t depth) {
  switch (depth) {
    case 1:
      return 4;
    case 2:
      return 8;
    case 4:
      return 16;
    case 8:
      return 24;
    case 16:
      return 15;
    default:
      return 0;
  }
}

// "%d" of a 32-bit value, as the C library prints an unsigned number
// passed for a signed conversion.
std::string Signed(std::uint32_t value) {
  return std::to_string(static_cast<std::int32_t>(value));
}

// IPv4 as dotted bytes 2 to 5; every other family all 20 bytes joined by
// "-".
std::string AddressText(const platform::WtsClientAddress& address) {
  std::string text;
  if (address.address_family == platform::kAfInet) {
    for (std::size_t i = 2; i <= 5; ++i) {
      if (i > 2) text += '.';
      text += std::to_string(address.address[i]);
    }
    return text;
  }
  for (std::size_t i = 0; i < address.address.size(); ++i) {
    if (i > 0) text += '-';
    text += std::to_string(address.address[i]);
  }
  return text;
}

// Hours and minutes as "%d:%0.2d" without leading zeros: :05, 2:07, 10:00.
std::string IdleText(std::int64_t idle) {
  const std::int64_t seconds = idle / platform::kFileTimeTicksPerSecond;
  char buf[48];
  std::snprintf(buf, sizeof buf, "%" PRId64 ":%02" PRId64, seconds / 3600, seconds / 60 % 60);
  std::string_view text = buf;
  text.remove_prefix(std::min(text.find_first_not_of('0'), text.size()));
  return std::string(text);
}

// A disconnected session has been idle since it was disconnected, any other
// since its last input.
std::int64_t IdleTime(std::uint32_t state, const platform::WinStationTimes& t) {
  if (state == platform::kWtsDisconnected && t.disconnect_time > 0 && t.current_time > 0) {
    return t.current_time - t.disconnect_time;
  }
  if (t.current_time > 0 && t.last_input_time > 0) return t.current_time - t.last_input_time;
  return 0;
}

class SessionRows {
 public:
  SessionRows(ExportContext& context, TerminalServerExport& server, TypedOutput& file,
              const tagCObjects& target)
      : context_(context), server_(server), file_(file), row_(context.output, file, &target) {
    for (std::uint32_t c = 0; c < std::size(kClassOfColumn); ++c) {
      queried_[c] = Selected(kFirstQueriedColumn + c);
    }
    display_ = Selected(kHorizontal) || Selected(kVertical) || Selected(kBits);
    address_ = Selected(kAddressType) || Selected(kAddress);
    times_ = server.libraries().window_station &&
             std::any_of(file.columns.begin(), file.columns.end(),
                         [](std::uint32_t c) { return c >= kIdleTime && c <= kLastInputTime; });
  }

  void Write(const platform::WtsSessionInfo& session) {
    row_[kId] = Signed(session.session_id);
    row_[kWinStation] = session.win_station_name;
    row_[kState] = StateName(session.state);
    for (std::uint32_t c = 0; c < std::size(kClassOfColumn); ++c) {
      if (!queried_[c]) continue;
      const auto info = Query(session.session_id, kClassOfColumn[c]);
      if (info) row_[kFirstQueriedColumn + c] = QueriedText(kFirstQueriedColumn + c, *info);
    }
    if (display_) {
      if (const auto info = Query(session.session_id, platform::kWtsClientDisplay)) {
        row_[kHorizontal] = Signed(info->display.horizontal_resolution);
        row_[kVertical] = Signed(info->display.vertical_resolution);
        if (const std::uint32_t bits = BitsPerPixel(info->display.color_depth); bits != 0) {
          row_[kBits] = Signed(bits);
        }
      }
    }
    if (address_) {
      if (const auto info = Query(session.session_id, platform::kWtsClientAddress)) {
        row_[kAddressType] = FamilyName(info->address.address_family);
        row_[kAddress] = AddressText(info->address);
      }
    }
    if (times_) WriteTimes(session);
    row_.Write();
  }

 private:
  bool Selected(std::uint32_t column) const {
    return std::find(file_.columns.begin(), file_.columns.end(), column) != file_.columns.end();
  }

  // The answer of one information query, when it succeeded with data.
  std::optional<platform::SessionInformation> Query(std::uint32_t session_id,
                                                    std::uint32_t info_class) {
    platform::SessionInformation info =
        server_.services().QuerySessionInformation(server_.server(), session_id, info_class);
    if (info.status != win::ERROR_SUCCESS || info.bytes_returned == 0) return std::nullopt;
    return info;
  }

  static std::string QueriedText(std::uint32_t column, const platform::SessionInformation& info) {
    switch (column) {
      case kBuild:
      case kHardware:
        return Signed(info.number);
      case kProduct:
        return std::to_string(info.number & 0xFFFF);
      case kProtocol:
        return std::string(ProtocolName(info.number & 0xFFFF));
      default:
        return info.text;
    }
  }

  void WriteTimes(const platform::WtsSessionInfo& session) {
    const platform::WinStationInformationResult info =
        server_.services().WinStationQueryInformation(server_.server(), session.session_id,
                                                      platform::kWinStationInformation,
                                                      platform::kWinStationInformationSize);
    if (info.status != win::ERROR_SUCCESS || info.returned_length == 0) return;
    const platform::WinStationTimes& t = info.times;
    if (const std::int64_t idle = IdleTime(session.state, t); idle > 0) {
      row_[kIdleTime] = IdleText(idle);
    }
    const auto when = [&](platform::FileTime time) {
      return format::FormatLocalFileTime(time, context_.format, *context_.output.platform().locale);
    };
    row_[kLogonTime] = when(t.logon_time);
    row_[kConnectTime] = when(t.connect_time);
    row_[kDisconnectTime] = when(t.disconnect_time);
    row_[kLastInputTime] = when(t.last_input_time);
  }

  ExportContext& context_;
  TerminalServerExport& server_;
  TypedOutput& file_;
  Row row_;
  bool queried_[std::size(kClassOfColumn)] = {};
  bool display_ = false;
  bool address_ = false;
  bool times_ = false;
};

}  // namespace

void ExportTseSessionRows(ExportContext& context, const tagCObjects& target) {
  TerminalServerExport server(context, target, kTseSessions);
  if (server.Open()) {
    const platform::SessionListResult list =
        server.services().EnumerateSessions(server.server(), 0, 1);
    if (list.status != win::ERROR_SUCCESS) {
      server.Fail(FillMessage("Unable to enumerate sessions on Terminal Server '%s'. ",
                              {target.display_name}),
                  list.status);
    } else {
      SessionRows rows(context, server, context.files.of(kTseSessions), target);
      for (const platform::WtsSessionInfo& session : list.sessions) rows.Write(session);
    }
  }
  server.Finish();
}

}  // namespace tabulon

namespace tabulon {

ExporterUnit TseSessionsUnit() {
  static constexpr ExportType kTypes[] = {kTseSessions};
  return {.name = "terminal sessions",
          .types = kTypes,
          .start = StartEnabledTypeRun<kTseSessions, ExportTseSessionRows>};
}

}  // namespace tabulon
