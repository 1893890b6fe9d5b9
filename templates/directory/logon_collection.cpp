#include "templates/directory/logon_collection.h"

#include <charconv>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/progress.h"
#include "format/time_texts.h"
#include "platform/directory_status.h"
#include "platform/text.h"
#include "platform/time.h"

namespace tabulon {
namespace {

// userAccountControl's server trust bit marks a domain controller.
constexpr std::string_view kControllerFilter =
    "(&(objectCategory=computer)(userAccountControl:1.2.840.113556.1.4.803:=8192))";
constexpr std::string_view kUserFilter = "(&(objectClass=user)(objectCategory=person))";
constexpr std::string_view kComputerFilter = "(&(objectCategory=computer))";

std::string_view FirstValue(const platform::DirectoryEntry& entry, std::string_view name) {
  const platform::DirectoryAttribute* attribute = entry.Find(name);
  return attribute != nullptr && !attribute->values.empty()
             ? std::string_view(attribute->values.front())
             : std::string_view();
}

std::int64_t Number(std::string_view text) {
  std::int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// A FILETIME count as seconds since 1970 (truncated to 32 bits as the map
// keeps them); "never" and times before 1970 are 0.
std::uint32_t EpochSeconds(std::string_view file_time) {
  const std::int64_t value = Number(file_time);
  if (value <= platform::kFileTimeUnixEpoch) return 0;
  return static_cast<std::uint32_t>((value - platform::kFileTimeUnixEpoch) /
                                    platform::kFileTimeTicksPerSecond);
}

void ReportAbort(RunOutput& out, std::string_view picture, std::string_view domain,
                 const platform::DirectoryStatus& status) {
  const std::string text = FillMessage(picture, {domain}) + DirectoryErrorText(status);
  out.GeneralFailure(text);
  out.AddProgressRow(domain, text, 0, ProgressKind::kFailure);
}

}  // namespace

std::vector<std::string> DirectoryDomainControllers(platform::DirectorySearch& directory,
                                                    const platform::DirectoryOpenOptions& options,
                                                    std::string_view domain,
                                                    const format::NameList* skip, RunOutput& out) {
  std::vector<std::string> controllers;
  if (domain.empty()) return controllers;
  platform::DirectoryStatus status = directory.Open(options);
  if (!status.ok()) {
    ReportAbort(out, "Unable to bind to domain '%s'.  Exporting of last logon information aborted.",
                domain, status);
    return controllers;
  }
  platform::SearchRequest request;
  request.filter = std::string(kControllerFilter);
  request.attributes = {"dnshostname"};
  status = directory.Search(request, [&](platform::DirectoryEntry&& entry) {
    const std::string_view host = FirstValue(entry, "dnshostname");
    if (host.empty()) return true;
    if (skip != nullptr && format::MatchNameList("\\\\" + std::string(host), *skip)) return true;
    controllers.emplace_back(host);
    return true;
  });
  directory.Close();
  if (!status.ok()) {
    controllers.clear();
    ReportAbort(out,
                "Unable to get list of domain controllers for '%s'.  Exporting of last  logon "
                "information aborted.",
                domain, status);
  }
  return controllers;
}

std::string_view DirectoryLogonFilter(bool computers) {
  return computers ? kComputerFilter : kUserFilter;
}

platform::DirectoryStatus CollectDirectoryLogons(platform::DirectorySearch& directory,
                                                 bool computers, const platform::CancelToken& stop,
                                                 LastLogonMap& map) {
  platform::SearchRequest request;
  request.filter = std::string(DirectoryLogonFilter(computers));
  request.attributes = {"samaccountname", "lastlogon", "lastlogoff", "badpwdcount", "logoncount"};
  bool stopped = false;
  const platform::DirectoryStatus status =
      directory.Search(request, [&](platform::DirectoryEntry&& entry) {
        if (stop.cancelled()) {
          stopped = true;
          return false;
        }
        const std::string_view account = FirstValue(entry, "samaccountname");
        if (account.empty()) return true;
        MergeLastLogon(map, {std::string(account), EpochSeconds(FirstValue(entry, "lastlogon")),
                             EpochSeconds(FirstValue(entry, "lastlogoff")),
                             static_cast<std::uint32_t>(Number(FirstValue(entry, "badpwdcount"))),
                             static_cast<std::uint32_t>(Number(FirstValue(entry, "logoncount")))});
        return true;
      });
  return stopped && status.ok() ? platform::DirectoryCancelled() : status;
}

std::optional<std::string> ConsolidatedDirectoryValue(const LastLogonMap& map,
                                                      std::string_view attribute,
                                                      std::string_view account,
                                                      const format::FormatSettings& settings) {
  const bool count = text::EqualsNoCase(attribute, "logoncount");
  const bool bad = text::EqualsNoCase(attribute, "badpwdcount");
  const bool logon = text::EqualsNoCase(attribute, "lastlogon");
  const bool logoff = text::EqualsNoCase(attribute, "lastlogoff");
  if (!count && !bad && !logon && !logoff) return std::nullopt;
  const auto it = map.find(std::string(account));
  if (it == map.end()) return std::nullopt;
  const tagLastLogon& r = it->second;
  if (count) return std::to_string(static_cast<std::int32_t>(r.logon_count));
  if (bad) return std::to_string(static_cast<std::int32_t>(r.bad_pw_count));
  return format::FormatEpochTime(logon ? r.last_logon : r.last_logoff, true, settings);
}

}  // namespace tabulon
