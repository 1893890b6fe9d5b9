#include <algorithm>
#include <array>
#include <charconv>
#include <unordered_set>

#include "estate/sections.h"
#include "platform/address_text.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

constexpr std::array kSessionStates{
    NamedValue{"ACTIVE", 0},       NamedValue{"CONNECTED", 1},    NamedValue{"CONNECTQUERY", 2},
    NamedValue{"CONNECTING", 2},   NamedValue{"SHADOW", 3},       NamedValue{"SHADOWING", 3},
    NamedValue{"DISCONNECTED", 4}, NamedValue{"IDLE", 5},         NamedValue{"LISTEN", 6},
    NamedValue{"LISTENING", 6},    NamedValue{"RESET", 7},        NamedValue{"DOWN", 8},
    NamedValue{"INIT", 9},         NamedValue{"INITIALIZING", 9},
};

constexpr std::array kProtocols{
    NamedValue{"CONSOLE", 0},
    NamedValue{"ICA", 1},
    NamedValue{"RDP", 2},
};

constexpr std::array kAddressFamilies{
    NamedValue{"UNSPEC", platform::kAfUnspec}, NamedValue{"INET", platform::kAfInet},
    NamedValue{"IPX", platform::kAfIpx},       NamedValue{"NETBIOS", platform::kAfNetbios},
    NamedValue{"INET6", platform::kAfInet6},
};

// WTS_INFO_CLASS by the session member that answers it, for "unanswered".
constexpr std::array kInfoClasses{
    NamedValue{"initial_program", platform::kWtsInitialProgram},
    NamedValue{"application_name", platform::kWtsApplicationName},
    NamedValue{"working_directory", platform::kWtsWorkingDirectory},
    NamedValue{"oem_id", platform::kWtsOemId},
    NamedValue{"id", platform::kWtsSessionId},
    NamedValue{"user", platform::kWtsUserName},
    NamedValue{"station", platform::kWtsWinStationName},
    NamedValue{"domain", platform::kWtsDomainName},
    NamedValue{"state", platform::kWtsConnectState},
    NamedValue{"client_build", platform::kWtsClientBuildNumber},
    NamedValue{"client_name", platform::kWtsClientName},
    NamedValue{"client_directory", platform::kWtsClientDirectory},
    NamedValue{"client_product_id", platform::kWtsClientProductId},
    NamedValue{"client_hardware_id", platform::kWtsClientHardwareId},
    NamedValue{"address", platform::kWtsClientAddress},
    NamedValue{"display", platform::kWtsClientDisplay},
    NamedValue{"protocol", platform::kWtsClientProtocolType},
};

// WTS_CONFIG_CLASS by name, in class order.
constexpr std::array<std::string_view, platform::kWtsUserConfigClassCount> kUserConfigNames{
    "initial_program",  "work_dir",           "inherit_program", "allow_logon",
    "connection_xout",  "disconnection_xout", "idle_xout",       "connect_drives",
    "connect_printers", "default_printers",   "broken_xout",     "reconnect",
    "callback",         "callback_phone",     "shadow",          "profile",
    "home_dir",         "home_dir_drive",     "home_dir_flag",
};

Vocabulary Of(std::span<const NamedValue> names, std::string_view prefix) {
  return Vocabulary{names, prefix};
}

// A UTC file time: "YYYY-MM-DDTHH:MM:SS" with an optional "Z", a decimal
// text of the raw 64-bit value, the number 0, or null for none.
bool ReadFileTime(JsonReader& reader, const Json& value, const JsonPath& path,
                  platform::FileTime& out) {
  if (value.is_null()) {
    out = 0;
    return true;
  }
  if (value.is_number()) {
    std::uint32_t number = 0;
    if (!reader.Uint32(value, path, number)) return false;
    if (number != 0) {
      return reader.Fail(path, "a time is 0, a raw file time as text or YYYY-MM-DDTHH:MM:SSZ");
    }
    out = 0;
    return true;
  }
  std::string text;
  if (!reader.String(value, path, text)) return false;
  const char* first = text.data();
  const char* last = first + text.size();
  std::int64_t raw = 0;
  if (const auto [end, ec] = std::from_chars(first, last, raw);
      ec == std::errc() && end == last && raw >= 0) {
    out = raw;
    return true;
  }
  platform::SystemTime t;
  char tail = 0;
  const int read = std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &t.year, &t.month, &t.day,
                               &t.hour, &t.minute, &t.second, &tail);
  const bool shape_ok =
      (read == 6 && text.size() == 19) || (read == 7 && tail == 'Z' && text.size() == 20);
  const auto converted = shape_ok ? platform::SystemTimeToFileTime(t) : std::nullopt;
  if (!converted) {
    return reader.Fail(path, "expected a UTC time YYYY-MM-DDTHH:MM:SSZ or a raw file time, not " +
                                 QuoteForMessage(text));
  }
  out = *converted;
  return true;
}

bool ReadUint16(JsonReader& reader, const Json& value, const JsonPath& path, std::uint16_t& out) {
  std::uint32_t number = 0;
  if (!reader.Uint32(value, path, number)) return false;
  if (number > 0xFFFF) return reader.Fail(path, "expected a number from 0 to 65535");
  out = static_cast<std::uint16_t>(number);
  return true;
}

bool ReadDisplay(JsonReader& reader, const Json& value, const JsonPath& path,
                 platform::WtsClientDisplay& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  const auto number = [&](std::uint32_t& field) {
    return [&](const Json& v, const JsonPath& p) { return reader.Uint32(v, p, field); };
  };
  return reader.Optional(value, here, "horizontal", number(out.horizontal_resolution)) &&
         reader.Optional(value, here, "vertical", number(out.vertical_resolution)) &&
         reader.Optional(value, here, "color_depth", number(out.color_depth));
}

// {"family": "AF_INET", "address": "192.0.2.7"}, an IPv6 text for AF_INET6,
// or "bytes": the 20 raw bytes for any family.
bool ReadAddress(JsonReader& reader, const Json& value, const JsonPath& path,
                 platform::WtsClientAddress& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  std::string text;
  const Json* bytes = JsonReader::Member(value, "bytes");
  const bool ok = reader.Optional(value, here, "family", [&](const Json& v, const JsonPath& p) {
    return reader.Named(v, p, Of(kAddressFamilies, "AF_"), "address family", false,
                        out.address_family);
  }) && reader.Optional(value, here, "address", [&](const Json& v, const JsonPath& p) {
    return reader.String(v, p, text);
  });
  if (!ok) return false;
  if (bytes != nullptr && !text.empty()) {
    return reader.Fail(path, "give either an address or its bytes, not both");
  }
  if (bytes != nullptr) {
    const JsonPath where{here, "bytes"};
    if (!reader.ExpectArray(*bytes, where)) return false;
    if (bytes->size() > out.address.size()) return reader.Fail(where, "at most 20 bytes");
    const std::string inner = where.str();
    for (std::size_t i = 0; i < bytes->size(); ++i) {
      std::uint32_t byte = 0;
      const JsonPath at{inner, {}, i};
      if (!reader.Uint32((*bytes)[i], at, byte)) return false;
      if (byte > 0xFF) return reader.Fail(at, "a byte runs from 0 to 255");
      out.address[i] = static_cast<std::uint8_t>(byte);
    }
    return true;
  }
  if (text.empty()) return true;
  const JsonPath where{here, "address"};
  if (out.address_family == platform::kAfInet) {
    const auto v4 = platform::ParseIpv4Text(text);
    if (!v4) return reader.Fail(where, QuoteForMessage(text) + " is not a dotted IPv4 address");
    std::copy(v4->begin(), v4->end(), out.address.begin() + 2);
    return true;
  }
  if (out.address_family == platform::kAfInet6) {
    const auto v6 = platform::ParseIpv6Text(text);
    if (!v6) return reader.Fail(where, QuoteForMessage(text) + " is not an IPv6 address");
    std::copy(v6->begin(), v6->end(), out.address.begin());
    return true;
  }
  return reader.Fail(where, "an address text needs the family AF_INET or AF_INET6; give bytes");
}

bool ReadUnanswered(JsonReader& reader, const Json& value, const JsonPath& path,
                    std::uint32_t& out) {
  if (!reader.ExpectArray(value, path)) return false;
  const std::string here = path.str();
  for (std::size_t i = 0; i < value.size(); ++i) {
    std::uint32_t info_class = 0;
    const JsonPath at{here, {}, i};
    if (!reader.Named(value[i], at, Of(kInfoClasses, ""), "information class", false, info_class)) {
      return false;
    }
    if (info_class > platform::kWtsLastInfoClass) {
      return reader.Fail(at, "information classes run from 0 to 16");
    }
    out |= 1u << info_class;
  }
  return true;
}

bool ReadSession(JsonReader& reader, const Json& value, const JsonPath& path,
                 TerminalSession& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  const auto string = [&](std::string& field) {
    return [&](const Json& v, const JsonPath& p) { return reader.String(v, p, field); };
  };
  const auto number = [&](std::uint32_t& field) {
    return [&](const Json& v, const JsonPath& p) { return reader.Uint32(v, p, field); };
  };
  const auto short_number = [&](std::uint16_t& field) {
    return [&](const Json& v, const JsonPath& p) { return ReadUint16(reader, v, p, field); };
  };
  const auto time = [&](platform::FileTime& field) {
    return [&](const Json& v, const JsonPath& p) { return ReadFileTime(reader, v, p, field); };
  };
  if (JsonReader::Member(value, "id") == nullptr) return reader.Fail(path, "a session needs an id");
  return reader.Optional(value, here, "id", number(out.id)) &&
         reader.Optional(value, here, "station", string(out.station)) &&
         reader.Optional(value, here, "state",
                         [&](const Json& v, const JsonPath& p) {
                           return reader.Named(v, p, Of(kSessionStates, "WTS"), "session state",
                                               false, out.state);
                         }) &&
         reader.Optional(value, here, "initial_program", string(out.initial_program)) &&
         reader.Optional(value, here, "application_name", string(out.application_name)) &&
         reader.Optional(value, here, "working_directory", string(out.working_directory)) &&
         reader.Optional(value, here, "oem_id", string(out.oem_id)) &&
         reader.Optional(value, here, "user", string(out.user_name)) &&
         reader.Optional(value, here, "domain", string(out.domain_name)) &&
         reader.Optional(value, here, "client_name", string(out.client_name)) &&
         reader.Optional(value, here, "client_directory", string(out.client_directory)) &&
         reader.Optional(value, here, "client_build", number(out.client_build)) &&
         reader.Optional(value, here, "client_hardware_id", number(out.client_hardware_id)) &&
         reader.Optional(value, here, "client_product_id", short_number(out.client_product_id)) &&
         reader.Optional(value, here, "protocol",
                         [&](const Json& v, const JsonPath& p) {
                           std::uint32_t code = 0;
                           if (!reader.Named(v, p, Of(kProtocols, ""), "protocol", false, code)) {
                             return false;
                           }
                           if (code > 0xFFFF) return reader.Fail(p, "a protocol is 16 bits");
                           out.protocol_type = static_cast<std::uint16_t>(code);
                           return true;
                         }) &&
         reader.Optional(value, here, "display",
                         [&](const Json& v, const JsonPath& p) {
                           return ReadDisplay(reader, v, p, out.display);
                         }) &&
         reader.Optional(value, here, "address",
                         [&](const Json& v, const JsonPath& p) {
                           return ReadAddress(reader, v, p, out.address);
                         }) &&
         reader.Optional(value, here, "logon_time", time(out.times.logon_time)) &&
         reader.Optional(value, here, "connect_time", time(out.times.connect_time)) &&
         reader.Optional(value, here, "disconnect_time", time(out.times.disconnect_time)) &&
         reader.Optional(value, here, "last_input_time", time(out.times.last_input_time)) &&
         reader.Optional(value, here, "unanswered",
                         [&](const Json& v, const JsonPath& p) {
                           return ReadUnanswered(reader, v, p, out.empty_classes);
                         }) &&
         reader.Optional(value, here, "failures", [&](const Json& v, const JsonPath& p) {
           return ReadFailures(reader, v, p, FailureScope::kTerminalSession, out.failures);
         });
}

bool ReadProcess(JsonReader& reader, const Json& value, const JsonPath& path,
                 platform::WtsProcessInfo& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  return reader.Optional(value, here, "session", [&](const Json& v, const JsonPath& p) {
    return reader.Uint32(v, p, out.session_id);
  }) && reader.Optional(value, here, "id", [&](const Json& v, const JsonPath& p) {
    return reader.Uint32(v, p, out.process_id);
  }) && reader.Optional(value, here, "name", [&](const Json& v, const JsonPath& p) {
    return reader.String(v, p, out.process_name);
  }) && reader.Optional(value, here, "sid", [&](const Json& v, const JsonPath& p) {
    if (v.is_null()) return true;
    out.user_sid.emplace();
    return reader.Sid(v, p, *out.user_sid);
  });
}

bool ReadUserConfig(JsonReader& reader, const Json& value, const JsonPath& path,
                    TerminalUserConfig& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  for (const auto& [key, entry] : value.items()) {
    const JsonPath where{here, key};
    std::uint32_t config_class = platform::kWtsUserConfigClassCount;
    for (std::uint32_t c = 0; c < kUserConfigNames.size(); ++c) {
      if (text::EqualsNoCase(kUserConfigNames[c], key)) config_class = c;
    }
    if (config_class == platform::kWtsUserConfigClassCount) {
      return reader.Fail(where,
                         "unknown user setting; known: initial_program, work_dir, "
                         "inherit_program, allow_logon, connection_xout, "
                         "disconnection_xout, idle_xout, connect_drives, connect_printers, "
                         "default_printers, broken_xout, reconnect, callback, "
                         "callback_phone, shadow, profile, home_dir, home_dir_drive, "
                         "home_dir_flag");
    }
    const bool ok = platform::IsTextUserConfigClass(config_class)
                        ? reader.String(entry, where, out.texts[config_class])
                        : reader.Uint32(entry, where, out.numbers[config_class]);
    if (!ok) return false;
  }
  return true;
}

}  // namespace

bool ReadTerminalServer(JsonReader& reader, const Json& value, const JsonPath& path,
                        TerminalServer& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  const bool
      ok = reader.Optional(value, here, "current_time", [&](const Json& v, const JsonPath& p) {
        platform::FileTime now = 0;
        if (!ReadFileTime(reader, v, p, now)) return false;
        if (now != 0) out.current_time = now;
        return true;
      }) && reader.Optional(value, here, "sessions", [&](const Json& v, const JsonPath& p) {
        if (!reader.ExpectArray(v, p)) return false;
        const std::string list = p.str();
        std::unordered_set<std::uint32_t> ids;
        for (std::size_t i = 0; i < v.size(); ++i) {
          const JsonPath where{list, {}, i};
          TerminalSession session;
          if (!ReadSession(reader, v[i], where, session)) return false;
          if (!ids.insert(session.id).second) {
            return reader.Fail(where,
                               "session id " + std::to_string(session.id) + " is listed twice");
          }
          out.sessions.push_back(std::move(session));
        }
        return true;
      }) && reader.Optional(value, here, "processes", [&](const Json& v, const JsonPath& p) {
        if (!reader.ExpectArray(v, p)) return false;
        const std::string list = p.str();
        for (std::size_t i = 0; i < v.size(); ++i) {
          platform::WtsProcessInfo process;
          if (!ReadProcess(reader, v[i], JsonPath{list, {}, i}, process)) {
            return false;
          }
          out.processes.push_back(std::move(process));
        }
        return true;
      }) && reader.Optional(value, here, "user_config", [&](const Json& v, const JsonPath& p) {
        if (!reader.ExpectObject(v, p)) return false;
        const std::string list = p.str();
        for (const auto& [user, settings] : v.items()) {
          TerminalUserConfig config;
          config.user = user;
          if (!ReadUserConfig(reader, settings, JsonPath{list, user}, config)) return false;
          out.user_configs.push_back(std::move(config));
        }
        return true;
      });
  return ok;
}

bool ReadLibraries(JsonReader& reader, const Json& value, const JsonPath& path,
                   platform::TerminalServicesLibraries& terminal, bool& remote_access) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  return reader.Optional(value, here, "terminal_services", [&](const Json& v, const JsonPath& p) {
    return reader.Bool(v, p, terminal.terminal_services);
  }) && reader.Optional(value, here, "window_station", [&](const Json& v, const JsonPath& p) {
    return reader.Bool(v, p, terminal.window_station);
  }) && reader.Optional(value, here, "remote_access", [&](const Json& v, const JsonPath& p) {
    return reader.Bool(v, p, remote_access);
  });
}

}  // namespace tabulon::estate
