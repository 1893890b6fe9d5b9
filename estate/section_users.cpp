#include <algorithm>
#include <cstdio>

#include "estate/sections.h"
#include "estate/user_accounts.h"
#include "estate/vocabulary.h"
#include "platform/text.h"
#include "platform/time.h"

namespace tabulon::estate {
namespace {

constexpr std::array kPrivileges{
    NamedValue{"GUEST", platform::kUserPrivGuest},
    NamedValue{"USER", platform::kUserPrivUser},
    NamedValue{"ADMIN", platform::kUserPrivAdmin},
};

constexpr std::array kRasPrivileges{
    NamedValue{"NoCallback", platform::kRasPrivNoCallback},
    NamedValue{"AdminSetCallback", platform::kRasPrivAdminSetCallback},
    NamedValue{"CallerSetCallback", platform::kRasPrivCallerSetCallback},
    NamedValue{"DialinPrivilege", platform::kRasPrivDialinPrivilege},
};

// Seconds since 1970: a number, or a UTC time "YYYY-MM-DDTHH:MM:SSZ".
bool ReadEpochTime(JsonReader& reader, const Json& value, const JsonPath& path,
                   std::uint32_t& out) {
  if (value.is_number()) return reader.Uint32(value, path, out);
  std::string text;
  if (!reader.String(value, path, text)) return false;
  platform::SystemTime t;
  char tail = 0;
  const int read = std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &t.year, &t.month, &t.day,
                               &t.hour, &t.minute, &t.second, &tail);
  const bool shape_ok = read == 7 && tail == 'Z' && text.size() == 20;
  const auto converted = shape_ok ? platform::SystemTimeToFileTime(t) : std::nullopt;
  const std::int64_t seconds =
      converted ? (*converted - platform::kFileTimeUnixEpoch) / platform::kFileTimeTicksPerSecond
                : -1;
  if (seconds < 0 || seconds > 0xFFFFFFFF) {
    return reader.Fail(path,
                       "expected seconds since 1970 or a UTC time YYYY-MM-DDTHH:MM:SSZ "
                       "from 1970 to 2106");
  }
  out = static_cast<std::uint32_t>(seconds);
  return true;
}

// 42 hexadecimal digits, byte by byte in order.
bool ReadLogonHours(JsonReader& reader, const Json& value, const JsonPath& path,
                    std::array<std::uint8_t, platform::kLogonHoursBytes>& out) {
  std::string text;
  if (!reader.String(value, path, text)) return false;
  if (text.size() != 2 * out.size() ||
      text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    return reader.Fail(path, "expected 42 hexadecimal digits, two per byte of the week's hours");
  }
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<std::uint8_t>(std::stoul(text.substr(2 * i, 2), nullptr, 16));
  }
  return true;
}

// RAS_USER_0: the privilege byte by RASPRIV_ names or a number, and the
// callback number as the record can hold it.
bool ReadDialIn(JsonReader& reader, const Json& value, const JsonPath& path,
                platform::RasUser0& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  std::uint32_t privilege = out.privilege;
  const bool ok = reader.Optional(value, here, "privilege", [&](const Json& v, const JsonPath& p) {
    if (!reader.Named(v, p, Vocabulary{kRasPrivileges, "RASPRIV_"}, "dial-in privilege", true,
                      privilege)) {
      return false;
    }
    return privilege <= 0xFF || reader.Fail(p, "a privilege is one byte");
  }) && reader.Optional(value, here, "phone_number", [&](const Json& v, const JsonPath& p) {
    if (!reader.String(v, p, out.phone_number)) return false;
    return text::CountCodePoints(out.phone_number) <= platform::kMaxPhoneNumberLength ||
           reader.Fail(p, "a phone number has at most 48 characters");
  });
  out.privilege = static_cast<std::uint8_t>(privilege);
  return ok;
}

bool ReadUser(JsonReader& reader, const Json& value, const JsonPath& path, User& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  platform::UserInfo& u = out.info;
  const auto string = [&](std::string& field) {
    return [&](const Json& v, const JsonPath& p) { return reader.String(v, p, field); };
  };
  const auto number = [&](std::uint32_t& field) {
    return [&](const Json& v, const JsonPath& p) { return reader.Uint32(v, p, field); };
  };
  const auto time = [&](std::uint32_t& field) {
    return [&](const Json& v, const JsonPath& p) { return ReadEpochTime(reader, v, p, field); };
  };
  const auto list = [&](std::vector<std::string>& field) {
    return [&](const Json& v, const JsonPath& p) { return reader.StringList(v, p, field); };
  };
  bool expired = false;
  const bool ok =
      reader.Optional(value, here, "name", string(u.name)) &&
      reader.Optional(value, here, "full_name", string(u.full_name)) &&
      reader.Optional(value, here, "comment", string(u.comment)) &&
      reader.Optional(value, here, "usr_comment", string(u.usr_comment)) &&
      reader.Optional(value, here, "password_age", number(u.password_age)) &&
      reader.Optional(value, here, "priv",
                      [&](const Json& v, const JsonPath& p) {
                        return reader.Named(v, p, Vocabulary{kPrivileges, "USER_PRIV_"},
                                            "privilege level", false, u.priv);
                      }) &&
      reader.Optional(value, here, "home_dir", string(u.home_dir)) &&
      reader.Optional(value, here, "home_dir_drive", string(u.home_dir_drive)) &&
      reader.Optional(value, here, "flags",
                      [&](const Json& v, const JsonPath& p) {
                        return reader.Named(v, p, AccountFlags(), "account flag", true, u.flags);
                      }) &&
      reader.Optional(value, here, "script_path", string(u.script_path)) &&
      reader.Optional(value, here, "workstations", string(u.workstations)) &&
      reader.Optional(value, here, "last_logon", time(u.last_logon)) &&
      reader.Optional(value, here, "last_logoff", time(u.last_logoff)) &&
      reader.Optional(value, here, "acct_expires", time(u.acct_expires)) &&
      reader.Optional(value, here, "units_per_week", number(u.units_per_week)) &&
      reader.Optional(value, here, "logon_hours",
                      [&](const Json& v, const JsonPath& p) {
                        return ReadLogonHours(reader, v, p, u.logon_hours);
                      }) &&
      reader.Optional(value, here, "bad_pw_count", number(u.bad_pw_count)) &&
      reader.Optional(value, here, "num_logons", number(u.num_logons)) &&
      reader.Optional(value, here, "rid", number(u.user_id)) &&
      reader.Optional(value, here, "primary_group_id", number(u.primary_group_id)) &&
      reader.Optional(value, here, "profile", string(u.profile)) &&
      reader.Optional(
          value, here, "password_expired",
          [&](const Json& v, const JsonPath& p) { return reader.Bool(v, p, expired); }) &&
      reader.Optional(value, here, "local_groups", list(out.local_groups)) &&
      reader.Optional(value, here, "groups", list(out.global_groups)) &&
      reader.Optional(value, here, "dial_in",
                      [&](const Json& v, const JsonPath& p) {
                        return ReadDialIn(reader, v, p, out.dial_in);
                      }) &&
      reader.Optional(value, here, "failures", [&](const Json& v, const JsonPath& p) {
        return ReadFailures(reader, v, p, FailureScope::kUser, out.failures);
      });
  if (!ok) return false;
  u.password_expired = expired ? 1 : 0;
  if (u.name.empty()) return reader.Fail(path, "a user needs a name");
  return true;
}

}  // namespace

bool ReadUsers(JsonReader& reader, const Json& value, const JsonPath& path,
               std::shared_ptr<const UserList>& out) {
  auto users = std::make_shared<UserList>();
  const bool read =
      reader.Elements(value, path, [&](const Json& item, const JsonPath& at, std::size_t i) {
        User user;
        if (!ReadUser(reader, item, at, user)) return false;
        if (user.info.user_id == 0) user.info.user_id = 1000 + static_cast<std::uint32_t>(i);
        users->push_back(std::move(user));
        return true;
      });
  if (!read) return false;
  std::stable_sort(users->begin(), users->end(),
                   [](const User& a, const User& b) { return NameLess(a.info.name, b.info.name); });
  out = std::move(users);
  return true;
}

bool ReadLogonCounters(JsonReader& reader, const Json& value, const JsonPath& path,
                       std::vector<LogonCounters>& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  for (const auto& [user, entry] : value.items()) {
    const JsonPath where{here, user};
    if (!reader.ExpectObject(entry, where)) return false;
    const std::string inner = where.str();
    LogonCounters c;
    c.user = user;
    const auto time = [&](std::uint32_t& field) {
      return [&](const Json& v, const JsonPath& p) { return ReadEpochTime(reader, v, p, field); };
    };
    const auto number = [&](std::uint32_t& field) {
      return [&](const Json& v, const JsonPath& p) { return reader.Uint32(v, p, field); };
    };
    if (!reader.Optional(entry, inner, "last_logon", time(c.last_logon)) ||
        !reader.Optional(entry, inner, "last_logoff", time(c.last_logoff)) ||
        !reader.Optional(entry, inner, "bad_pw_count", number(c.bad_pw_count)) ||
        !reader.Optional(entry, inner, "num_logons", number(c.num_logons))) {
      return false;
    }
    out.push_back(std::move(c));
  }
  std::stable_sort(out.begin(), out.end(), [](const LogonCounters& a, const LogonCounters& b) {
    return NameLess(a.user, b.user);
  });
  return true;
}

}  // namespace tabulon::estate
