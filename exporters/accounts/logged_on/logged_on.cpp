#include "exporters/accounts/logged_on/logged_on.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string>

#include "engine/row.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/remote_hive.h"
#include "exporters/toolkit/simple_unit.h"
#include "format/accounts.h"
#include "format/special_values.h"
#include "format/time_texts.h"
#include "platform/netapi.h"
#include "platform/text.h"
#include "platform/user_accounts.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kKeyNameChars = 260;
constexpr int kMaxSubAuthorities = 8;

enum Column : std::uint32_t { kAccount = 0, kFullName, kLogonTime };

// A profile key's name read as "S-R-A-S1-...-S8", the authority in
// hexadecimal: the SID it names, or nothing when fewer than one
// sub-authority could be read. Whatever follows the last number read is
// ignored, as a scanf pattern ignores it.
std::optional<platform::Sid> SidOfKeyName(const std::string& name) {
  int revision = 0;
  unsigned int authority = 0;
  std::array<unsigned int, kMaxSubAuthorities> sub{};
  const int read =
      std::sscanf(name.c_str(), "S-%d-%x-%u-%u-%u-%u-%u-%u-%u-%u", &revision, &authority, &sub[0],
                  &sub[1], &sub[2], &sub[3], &sub[4], &sub[5], &sub[6], &sub[7]);
  if (read <= 2) return std::nullopt;
  // Built as AllocateAndInitializeSid builds it: revision 1 whatever the
  // name says.
  platform::Sid sid;
  sid.authority = authority;
  sid.sub_authorities.assign(sub.begin(), sub.begin() + (read - 2));
  return sid;
}

bool SkippedKey(const std::string& name) {
  return text::EqualsNoCase(name, ".default") || name.find("Classes") != std::string::npos;
}

// "\\PC1" is PC1; a name without leading backslashes stays as it is.
std::string_view ShortName(std::string_view computer) {
  if (computer.starts_with('\\')) computer.remove_prefix(std::min<std::size_t>(2, computer.size()));
  return computer;
}

class LoggedOnExport {
 public:
  LoggedOnExport(ExportContext& context, const tagCObjects& target)
      : context_(context),
        target_(target),
        row_(context.output, context.files.of(kLoggedOn), &target),
        short_name_(ShortName(target.path)) {}

  void Run(platform::RegistryKey users) {
    platform::Registry& registry = context_.session.registry();
    for (std::uint32_t index = 0;; ++index) {
      const platform::RegistryEnumKeyResult key = registry.EnumKey(users, index, kKeyNameChars);
      if (key.status != win::ERROR_SUCCESS) break;
      if (SkippedKey(key.name)) continue;
      const std::optional<platform::Sid> sid = SidOfKeyName(key.name);
      if (!sid) continue;
      WriteRow(key.name, *sid, key.last_write_time);
    }
  }

 private:
  void WriteRow(const std::string& name, const platform::Sid& sid, platform::FileTime written) {
    RunOutput& out = context_.output;
    row_[kAccount] = name;
    if (const auto time = platform::FileTimeToSystemTime(written)) {
      row_[kLogonTime] =
          format::FormatSystemTime(*time, true, context_.format, *out.platform().locale);
    }
    const format::ResolvedSid account =
        format::ResolveSid(context_.session.lookup(), target_.path, sid);
    if (account.ok()) {
      row_[kAccount] = account.domain + "\\" + account.name;
      row_[kFullName] = FullName(account.domain, account.name);
    } else {
      row_[kFullName] = format::kError;
    }
    row_.Write();
  }

  // The server that holds the account's details: the computer itself for
  // its own accounts, the domain's controller for a domain's; the built-in
  // "NT..." domains have none. Empty: nobody is asked.
  std::string DetailsServer(std::string_view domain) {
    if (text::EqualsNoCase(domain, short_name_)) return std::string(short_name_);
    if (domain.starts_with("NT")) return {};
    // Not cached: each domain account asks again.
    const platform::DcNameResult dc = context_.session.accounts().NetGetDCName("", domain);
    return dc.status == win::ERROR_SUCCESS ? dc.dc_name : std::string();
  }

  std::string FullName(std::string_view domain, std::string_view name) {
    const std::string server = DetailsServer(domain);
    if (server.empty()) return {};
    constexpr std::uint32_t kLevel = 10;
    const platform::UserInfoResult user =
        context_.session.users().NetUserGetInfo(server, name, kLevel);
    return user.status == win::ERROR_SUCCESS ? user.info.full_name : std::string();
  }

  ExportContext& context_;
  const tagCObjects& target_;
  Row row_;
  const std::string_view short_name_;
};

}  // namespace

void ExportLoggedOnRows(ExportContext& context, const tagCObjects& target) {
  RunOutput& out = context.output;
  ExportProgress progress(out, target, "Exporting logged on users...", ProgressKind::kRegistry);
  const std::string failure = ReadRemoteHive(
      context, target, platform::kHkeyUsers,
      [&](platform::RegistryKey users) { LoggedOnExport(context, target).Run(users); });

  if (!failure.empty()) progress.ReportFailure(failure);
  out.LogLine(&target, ExportTypeInfo(kLoggedOn).log_name, !failure.empty(), failure);
}

ExporterUnit LoggedOnUnit() {
  static constexpr ExportType kTypes[] = {kLoggedOn};
  return {.name = "logged_on",
          .types = kTypes,
          .start = StartEnabledTypeRun<kLoggedOn, ExportLoggedOnRows>};
}

}  // namespace tabulon
