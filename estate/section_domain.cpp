#include "estate/sections.h"

namespace tabulon::estate {
namespace {

constexpr std::uint32_t kFirstAccountRid = 1000;

// A computer of the estate by name, or any listed name with its own server
// information.
bool ReadBrowseList(JsonReader& reader, const Json& value, const JsonPath& path,
                    std::vector<BrowseEntry>& out) {
  return reader.Elements(value, path, [&](const Json& item, const JsonPath& where, std::size_t) {
    BrowseEntry entry;
    if (item.is_string()) {
      entry.name = std::string(StripBackslashes(item.get_ref<const std::string&>()));
    } else if (item.is_object()) {
      const std::string inner = where.str();
      platform::ServerInfo101 info = DefaultServerInfo();
      std::string name;
      if (!reader.Optional(
              item, inner, "name",
              [&](const Json& v, const JsonPath& p) { return reader.String(v, p, name); }) ||
          !ReadServerFields(reader, item, inner, info)) {
        return false;
      }
      entry.name = std::string(StripBackslashes(name));
      entry.info = std::move(info);
    } else {
      return reader.Fail(where, "expected a computer name or an object with server information");
    }
    if (entry.name.empty()) return reader.Fail(where, "a browse list entry needs a name");
    out.push_back(std::move(entry));
    return true;
  });
}

bool ReadComputerAccounts(JsonReader& reader, const Json& value, const JsonPath& path,
                          std::vector<ComputerAccount>& out) {
  return reader.Elements(value, path, [&](const Json& item, const JsonPath& where, std::size_t i) {
    ComputerAccount account;
    account.rid = kFirstAccountRid + static_cast<std::uint32_t>(i);
    if (item.is_string()) {
      account.name = item.get<std::string>();
    } else if (item.is_object()) {
      const std::string inner = where.str();
      const bool ok = reader.Optional(item, inner, "name", [&](const Json& v, const JsonPath& p) {
        return reader.String(v, p, account.name);
      }) && reader.Optional(item, inner, "comment", [&](const Json& v, const JsonPath& p) {
        return reader.String(v, p, account.comment);
      }) && reader.Optional(item, inner, "flags", [&](const Json& v, const JsonPath& p) {
        return reader.Named(v, p, AccountFlags(), "account flag", true, account.flags);
      }) && reader.Optional(item, inner, "rid", [&](const Json& v, const JsonPath& p) {
        return reader.Uint32(v, p, account.rid);
      });
      if (!ok) return false;
    } else {
      return reader.Fail(where, "expected an account name or an object");
    }
    if (account.name.empty()) return reader.Fail(where, "a computer account needs a name");
    out.push_back(std::move(account));
    return true;
  });
}

}  // namespace

bool ReadDomain(JsonReader& reader, const Json& value, const JsonPath& path, Domain& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  const auto string = [&](std::string& field) {
    return [&](const Json& v, const JsonPath& p) { return reader.String(v, p, field); };
  };
  const bool ok =
      reader.Optional(value, here, "name", string(out.name)) &&
      reader.Optional(value, here, "dns_name", string(out.dns_name)) &&
      reader.Optional(value, here, "forest", string(out.forest)) &&
      reader.Optional(value, here, "controller", string(out.controller)) &&
      reader.Optional(value, here, "sid",
                      [&](const Json& v, const JsonPath& p) {
                        out.sid.emplace();
                        return reader.Sid(v, p, *out.sid);
                      }) &&
      reader.Optional(value, here, "accounts",
                      [&](const Json& v, const JsonPath& p) {
                        return ReadAccounts(reader, v, p, out.sid, out.accounts);
                      }) &&
      reader.Optional(value, here, "browse_list",
                      [&](const Json& v, const JsonPath& p) {
                        out.browse_list.emplace();
                        return ReadBrowseList(reader, v, p, *out.browse_list);
                      }) &&
      reader.Optional(value, here, "computer_accounts",
                      [&](const Json& v, const JsonPath& p) {
                        out.computer_accounts.emplace();
                        return ReadComputerAccounts(reader, v, p, *out.computer_accounts);
                      }) &&
      reader.Optional(value, here, "failures", [&](const Json& v, const JsonPath& p) {
        return ReadFailures(reader, v, p, FailureScope::kComputerOrDomain, out.failures);
      });
  if (!ok) return false;
  out.controller = std::string(StripBackslashes(out.controller));
  if (out.name.empty()) return reader.Fail(path, "a domain needs a name (its flat name)");
  return true;
}

}  // namespace tabulon::estate
