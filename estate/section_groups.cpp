#include "estate/sections.h"

#include <algorithm>

#include "platform/text.h"

namespace tabulon::estate {
namespace {

bool GroupCallFailures(JsonReader& reader, const Json& value, const JsonPath& path,
                       FailureList& out) {
  if (!ReadFailures(reader, value, path, FailureScope::kComputerOrDomain, out)) return false;
  for (const InjectedFailure& failure : out) {
    switch (failure.operation) {
      case Operation::kNetLocalGroupGetMembers:
      case Operation::kNetLocalGroupGetInfo:
      case Operation::kNetGroupGetUsers:
      case Operation::kNetGroupGetInfo:
        break;
      default:
        return reader.Fail(path,
                           "a group can only fail NetLocalGroupGetMembers, NetLocalGroupGetInfo, "
                           "NetGroupGetUsers and NetGroupGetInfo");
    }
  }
  return true;
}

}  // namespace

bool ReadGroups(JsonReader& reader, const Json& value, const JsonPath& path,
                const std::optional<platform::Sid>& owner, platform::SidNameUse use,
                std::vector<Account>& accounts, GroupList& out) {
  return reader.Elements(value, path, [&](const Json& item, const JsonPath& where, std::size_t) {
    if (!reader.ExpectObject(item, where)) return false;
    const std::string inner = where.str();
    Group group;
    platform::Sid sid;
    std::optional<std::uint32_t> rid;
    bool has_sid = false;
    const bool ok = reader.Optional(item, inner, "name", [&](const Json& v, const JsonPath& p) {
      return reader.String(v, p, group.name);
    }) && reader.Optional(item, inner, "comment", [&](const Json& v, const JsonPath& p) {
      return reader.String(v, p, group.comment);
    }) && reader.Optional(item, inner, "members", [&](const Json& v, const JsonPath& p) {
      return reader.StringList(v, p, group.members);
    }) && reader.Optional(item, inner, "sid", [&](const Json& v, const JsonPath& p) {
      has_sid = true;
      return reader.Sid(v, p, sid);
    }) && reader.Optional(item, inner, "rid", [&](const Json& v, const JsonPath& p) {
      rid.emplace();
      return reader.Uint32(v, p, *rid);
    }) && reader.Optional(item, inner, "failures", [&](const Json& v, const JsonPath& p) {
      return GroupCallFailures(reader, v, p, group.failures);
    });
    if (!ok) return false;
    if (group.name.empty()) return reader.Fail(where, "a group needs a name");
    if (has_sid && rid) return reader.Fail(where, "give either a sid or a rid");
    if (rid) {
      if (!owner) return reader.Fail(where, "a rid needs the sid of the domain or computer");
      sid = *owner;
      sid.sub_authorities.push_back(*rid);
    }
    // A group with a SID is an account of its database, so that lookups
    // find it; one without is a built-in group the well-known SIDs name.
    const bool listed = std::any_of(accounts.begin(), accounts.end(), [&](const Account& a) {
      return text::EqualsNoCase(a.name, group.name);
    });
    if ((has_sid || rid) && !listed) {
      Account account;
      account.name = group.name;
      account.sid = sid;
      account.use = use;
      accounts.push_back(std::move(account));
    }
    out.push_back(std::move(group));
    return true;
  });
}

}  // namespace tabulon::estate
