// The local security policy of a computer: its rights, account_policy and
// audit_policy members.
#include <array>

#include "estate/privileges.h"
#include "estate/sections.h"
#include "platform/lsa_policy.h"

namespace tabulon::estate {
namespace {

constexpr std::array kForever{NamedValue{"FOREVER", platform::kTimeqForever}};

constexpr std::array kAuditOptions{
    NamedValue{"SUCCESS", platform::kPolicyAuditEventSuccess},
    NamedValue{"FAILURE", platform::kPolicyAuditEventFailure},
    NamedValue{"NONE", platform::kPolicyAuditEventNone},
};

// POLICY_AUDIT_EVENT_TYPE order.
constexpr std::array<std::string_view, kAuditCategoryCount> kAuditCategories{
    "system",
    "logon",
    "object_access",
    "privilege_use",
    "detailed_tracking",
    "policy_change",
    "account_management",
    "directory_service_access",
    "account_logon",
};

bool ReadRights(JsonReader& reader, const Json& value, const JsonPath& path,
                std::vector<HeldRight>& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  for (const auto& [name, holders] : value.items()) {
    const JsonPath where{here, name};
    const PrivilegeInfo* privilege = FindPrivilege(name);
    if (privilege == nullptr) {
      return reader.Fail(where, "unknown right " + QuoteForMessage(name));
    }
    HeldRight held{std::string(privilege->name), {}};
    const bool read =
        reader.Elements(holders, where, [&](const Json& holder, const JsonPath& at, std::size_t) {
          return reader.Sid(holder, at, held.holders.emplace_back());
        });
    if (!read) return false;
    out.push_back(std::move(held));
  }
  return true;
}

bool ReadAccountPolicy(JsonReader& reader, const Json& value, const JsonPath& path,
                       LocalPolicy& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  const auto number = [&](std::uint32_t& field) {
    return [&](const Json& v, const JsonPath& p) { return reader.Uint32(v, p, field); };
  };
  const auto seconds = [&](std::uint32_t& field) {
    return [&](const Json& v, const JsonPath& p) {
      return reader.Named(v, p, Vocabulary{kForever, "TIMEQ_"}, "time", false, field);
    };
  };
  platform::UserModalsInfo0& passwords = out.passwords;
  platform::UserModalsInfo3& lockout = out.lockout;
  return reader.Optional(value, here, "min_passwd_len", number(passwords.min_passwd_len)) &&
         reader.Optional(value, here, "max_passwd_age", seconds(passwords.max_passwd_age)) &&
         reader.Optional(value, here, "min_passwd_age", seconds(passwords.min_passwd_age)) &&
         reader.Optional(value, here, "force_logoff", seconds(passwords.force_logoff)) &&
         reader.Optional(value, here, "password_hist_len", number(passwords.password_hist_len)) &&
         reader.Optional(value, here, "lockout_duration", seconds(lockout.lockout_duration)) &&
         reader.Optional(value, here, "lockout_observation_window",
                         seconds(lockout.lockout_observation_window)) &&
         reader.Optional(value, here, "lockout_threshold", number(lockout.lockout_threshold));
}

bool ReadAuditPolicy(JsonReader& reader, const Json& value, const JsonPath& path,
                     AuditPolicy& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  std::uint32_t count = kAuditCategoryCount;
  const bool ok = reader.Optional(value, here, "enabled", [&](const Json& v, const JsonPath& p) {
    return reader.Bool(v, p, out.auditing_mode);
  }) && reader.Optional(value, here, "category_count", [&](const Json& v, const JsonPath& p) {
    if (!reader.Uint32(v, p, count)) return false;
    return count <= 64 || reader.Fail(p, "at most 64 categories");
  });
  if (!ok) return false;
  out.options.assign(count, 0);
  const Json* categories = JsonReader::Member(value, "categories");
  if (categories == nullptr) return true;
  const JsonPath where{here, "categories"};
  if (!reader.ExpectObject(*categories, where)) return false;
  const std::string list = where.str();
  for (const auto& [name, option] : categories->items()) {
    const JsonPath at{list, name};
    std::size_t index = 0;
    while (index < kAuditCategories.size() && kAuditCategories[index] != name) ++index;
    if (index == kAuditCategories.size()) {
      return reader.Fail(at, "unknown audit category " + QuoteForMessage(name) +
                                 "; known: system, logon, object_access, privilege_use, "
                                 "detailed_tracking, policy_change, account_management, "
                                 "directory_service_access, account_logon");
    }
    if (index >= count) return reader.Fail(at, "beyond category_count");
    if (!reader.Named(option, at, Vocabulary{kAuditOptions, "POLICY_AUDIT_EVENT_"}, "audit option",
                      true, out.options[index])) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool ReadLocalPolicy(JsonReader& reader, const Json& computer, const std::string& path,
                     LocalPolicy& out) {
  return reader.Optional(computer, path, "rights", [&](const Json& v, const JsonPath& p) {
    return ReadRights(reader, v, p, out.rights);
  }) && reader.Optional(computer, path, "account_policy", [&](const Json& v, const JsonPath& p) {
    return ReadAccountPolicy(reader, v, p, out);
  }) && reader.Optional(computer, path, "audit_policy", [&](const Json& v, const JsonPath& p) {
    return ReadAuditPolicy(reader, v, p, out.audit);
  });
}

}  // namespace tabulon::estate
