#include "estate/sections.h"

#include "platform/text.h"

namespace tabulon::estate {

bool ReadFailures(JsonReader& reader, const Json& value, const JsonPath& path, FailureScope scope,
                  FailureList& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  for (const auto& [key, entry] : value.items()) {
    const JsonPath where{here, key};
    const auto op = OperationFromName(key);
    if (!op || !CanInjectFailure(*op)) {
      // The list is long; the estate's documentation has it.
      return reader.Fail(where, "unknown operation (docs/estate.md lists those that can fail)");
    }
    if (scope == FailureScope::kService && *op != Operation::kOpenService &&
        *op != Operation::kQueryServiceConfig && *op != Operation::kGetNamedSecurityInfo) {
      return reader.Fail(where,
                         "a service can only fail OpenService, QueryServiceConfig and "
                         "GetNamedSecurityInfo");
    }
    if (scope == FailureScope::kTerminalSession && *op != Operation::kWTSQuerySessionInformation &&
        *op != Operation::kWinStationQueryInformation) {
      return reader.Fail(where,
                         "a session can only fail WTSQuerySessionInformation and "
                         "WinStationQueryInformation");
    }
    if (scope == FailureScope::kRegistryKey && *op != Operation::kRegOpenKey &&
        *op != Operation::kRegQueryValue && *op != Operation::kRegEnumKey &&
        *op != Operation::kRegEnumValue && *op != Operation::kRegQueryInfoKey) {
      return reader.Fail(where,
                         "a registry key can only fail RegOpenKey, RegQueryValue, RegEnumKey, "
                         "RegEnumValue and RegQueryInfoKey");
    }
    if (scope == FailureScope::kPrinter && *op != Operation::kOpenPrinter &&
        *op != Operation::kGetPrinter && *op != Operation::kGetNamedSecurityInfo) {
      return reader.Fail(where,
                         "a printer can only fail OpenPrinter, GetPrinter and "
                         "GetNamedSecurityInfo");
    }
    if (scope == FailureScope::kUser && *op != Operation::kNetUserGetInfo &&
        *op != Operation::kNetUserGetLocalGroups && *op != Operation::kNetUserGetGroups &&
        *op != Operation::kMprAdminUserGetInfo && *op != Operation::kRasAdminUserGetInfo) {
      return reader.Fail(where,
                         "a user can only fail NetUserGetInfo, NetUserGetLocalGroups, "
                         "NetUserGetGroups, MprAdminUserGetInfo and RasAdminUserGetInfo");
    }
    if (FindFailure(out, *op) != nullptr) return reader.Fail(where, "operation given twice");
    InjectedFailure failure;
    failure.operation = *op;
    if (entry.is_object()) {
      const std::string inner = where.str();
      const Json* status = JsonReader::Member(entry, "status");
      if (status == nullptr) return reader.Fail(where, "a failure needs a status");
      if (!reader.Status(*status, JsonPath{inner, "status"}, failure.status) ||
          !reader.Optional(entry, inner, "after_calls", [&](const Json& v, const JsonPath& p) {
            return reader.Uint32(v, p, failure.after_calls);
          })) {
        return false;
      }
    } else if (!reader.Status(entry, where, failure.status)) {
      return false;
    }
    out.push_back(failure);
  }
  return true;
}

bool ReadAccounts(JsonReader& reader, const Json& value, const JsonPath& path,
                  const std::optional<platform::Sid>& owner, std::vector<Account>& out) {
  return reader.Elements(value, path, [&](const Json& item, const JsonPath& where, std::size_t) {
    if (!reader.ExpectObject(item, where)) return false;
    const std::string inner = where.str();
    Account account;
    std::optional<std::uint32_t> rid;
    bool has_sid = false;
    std::uint32_t use = static_cast<std::uint32_t>(account.use);
    const bool ok = reader.Optional(item, inner, "name", [&](const Json& v, const JsonPath& p) {
      return reader.String(v, p, account.name);
    }) && reader.Optional(item, inner, "sid", [&](const Json& v, const JsonPath& p) {
      has_sid = true;
      return reader.Sid(v, p, account.sid);
    }) && reader.Optional(item, inner, "rid", [&](const Json& v, const JsonPath& p) {
      rid.emplace();
      return reader.Uint32(v, p, *rid);
    }) && reader.Optional(item, inner, "use", [&](const Json& v, const JsonPath& p) {
      return reader.Named(v, p, SidUses(), "SID use", false, use);
    });
    if (!ok) return false;
    if (account.name.empty()) return reader.Fail(where, "an account needs a name");
    if (has_sid == rid.has_value()) return reader.Fail(where, "give either a sid or a rid");
    if (rid) {
      if (!owner) return reader.Fail(where, "a rid needs the sid of the domain or computer");
      account.sid = *owner;
      if (account.sid.sub_authorities.size() >= 15) {
        return reader.Fail(where, "the owner's sid has no room for a rid");
      }
      account.sid.sub_authorities.push_back(*rid);
    }
    if (use == 0 || use > static_cast<std::uint32_t>(platform::SidNameUse::kLabel)) {
      return reader.Fail(JsonPath{inner, "use"}, "a SID use runs from 1 (User) to 10 (Label)");
    }
    account.use = static_cast<platform::SidNameUse>(use);
    out.push_back(std::move(account));
    return true;
  });
}

bool ReadServerFields(JsonReader& reader, const Json& object, const std::string& path,
                      platform::ServerInfo101& out) {
  const auto number = [&](std::uint32_t& field) {
    return [&](const Json& v, const JsonPath& p) { return reader.Uint32(v, p, field); };
  };
  return reader.Optional(object, path, "platform_id", number(out.platform_id)) &&
         reader.Optional(object, path, "version_major", number(out.version_major)) &&
         reader.Optional(object, path, "version_minor", number(out.version_minor)) &&
         reader.Optional(object, path, "type",
                         [&](const Json& v, const JsonPath& p) {
                           return reader.Named(v, p, ServerTypes(), "server type", true, out.type);
                         }) &&
         reader.Optional(object, path, "comment", [&](const Json& v, const JsonPath& p) {
           return reader.String(v, p, out.comment);
         });
}

}  // namespace tabulon::estate
