#include "estate/directory_counters.h"

#include <algorithm>

#include "estate/user_accounts.h"
#include "platform/text.h"
#include "platform/time.h"

namespace tabulon::estate {
namespace {

// The directory keeps times as FILETIME counts; 0 stays "never".
std::string AsFileTime(std::uint32_t seconds) {
  if (seconds == 0) return "0";
  return std::to_string(platform::kFileTimeUnixEpoch +
                        std::int64_t{seconds} * platform::kFileTimeTicksPerSecond);
}

bool Requested(const platform::SearchRequest& request, std::string_view name) {
  if (request.attributes.empty()) return true;
  return std::any_of(request.attributes.begin(), request.attributes.end(),
                     [&](const std::string& a) { return text::EqualsNoCase(a, name); });
}

void Set(const platform::SearchRequest& request, platform::DirectoryEntry& entry,
         std::string_view name, std::string value) {
  if (!Requested(request, name)) return;
  for (platform::DirectoryAttribute& attribute : entry.attributes) {
    if (text::EqualsNoCase(attribute.name, name)) {
      attribute.values = {std::move(value)};
      return;
    }
  }
  platform::DirectoryAttribute added{
      std::string(name), platform::DirectoryValueKind::kUnknown, {std::move(value)}};
  if (request.kinds != nullptr) {
    const auto kind = request.kinds->find(text::ToLower(name));
    if (kind != request.kinds->end()) added.kind = kind->second;
  }
  entry.attributes.push_back(std::move(added));
}

}  // namespace

void ApplyLogonCounters(const Computer& controller, const platform::SearchRequest& request,
                        platform::DirectoryEntry& entry) {
  const platform::DirectoryAttribute* account = entry.Find("sAMAccountName");
  if (account == nullptr || account->values.empty()) return;
  const LogonCounters* found = FindCounters(controller.logon_counters, account->values.front());
  const LogonCounters none;
  const LogonCounters& c = found != nullptr ? *found : none;
  Set(request, entry, "lastLogon", AsFileTime(c.last_logon));
  Set(request, entry, "lastLogoff", AsFileTime(c.last_logoff));
  Set(request, entry, "badPwdCount", std::to_string(c.bad_pw_count));
  Set(request, entry, "logonCount", std::to_string(c.num_logons));
}

}  // namespace tabulon::estate
