#include "exporters/templates/directory/logon_collection.h"

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

constexpr std::string_view kUserFilter = "(&(objectClass=user)(objectCategory=person))";
constexpr std::string_view kComputerFilter = "(&(objectCategory=computer))";

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

}  // namespace

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
        const std::string_view account = entry.FirstValue("samaccountname");
        if (account.empty()) return true;
        MergeLastLogon(map, {std::string(account), EpochSeconds(entry.FirstValue("lastlogon")),
                             EpochSeconds(entry.FirstValue("lastlogoff")),
                             static_cast<std::uint32_t>(Number(entry.FirstValue("badpwdcount"))),
                             static_cast<std::uint32_t>(Number(entry.FirstValue("logoncount")))});
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
