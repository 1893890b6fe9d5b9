#include "exporters/accounts/users/user_rows.h"

#include <algorithm>
#include <string_view>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/row.h"
#include "exporters/accounts/users/user_fields.h"
#include "exporters/toolkit/export_progress.h"
#include "format/account_texts.h"
#include "format/special_values.h"
#include "format/time_texts.h"

namespace tabulon {
namespace {

enum UserColumn : std::uint32_t {
  kUserName = 0,
  kFullName = 1,
  kComment = 2,
  kPasswordAge = 3,
  kPrivLevel = 4,
  kHomeDir = 5,
  kHomeDirDrive = 6,
  kAccountFlags = 7,
  kLogonScript = 8,
  kNote = 9,
  kWorkstations = 10,
  kLastLogon = 11,
  kLastLogoff = 12,
  kExpiration = 13,
  kLogonHours = 14,
  kBadPwdCount = 15,
  kLogonCount = 16,
  kRid = 17,
  kPrimaryGroupRid = 18,
  kProfile = 19,
  kPasswordExpired = 20,
  kUserSid = 21,
  kRasAllowed = 22,
  kRasSetting = 23,
  kRasCallback = 24,
  kFirstTse = 25,
  kLastTse = 43,
};

enum GroupColumn : std::uint32_t { kGroupUser = 0, kGroupName = 1, kGroupType = 2 };

constexpr std::uint32_t kUserInfoLevel3 = 3;
constexpr std::uint32_t kSecondsPerDay = 86400;
// mprapi comes with this version of the system running the export; before
// it, the dial-in lookup is RasAdminUserGetInfo.
constexpr int kFirstMajorWithMprapi = 5;
constexpr std::uint32_t kRasUserLevel0 = 0;
// Every account of a domain belongs to this global group when it belongs to
// no other; it says nothing about the account.
constexpr std::string_view kNoGlobalGroup = "None";

std::string Signed(std::uint32_t value) {
  return std::to_string(static_cast<std::int32_t>(value));
}

// Every "," becomes the first character of the secondary delimiter.
std::string WorkstationsText(std::string text, std::string_view delimiter) {
  if (delimiter.empty()) return text;
  std::replace(text.begin(), text.end(), ',', delimiter.front());
  return text;
}

DialInTexts SameText(std::string_view text) {
  return {std::string(text), std::string(text), std::string(text)};
}

class UserRows {
 public:
  UserRows(ExportContext& context, const tagCObjects& target, const UserColumnGroups& groups,
           const LastLogonMap* consolidated)
      : context_(context),
        out_(context.output),
        target_(target),
        groups_(groups),
        consolidated_(consolidated),
        users_file_(context.files.of(kUsers)),
        groups_file_(context.files.of(kUserGroups)),
        user_row_(out_, users_file_, &target),
        group_row_(out_, groups_file_, &target),
        ras_loaded_(groups.ras && context.session.remote_access().Available()),
        tse_loaded_(groups.tse && context.session.terminal().Libraries().terminal_services) {
    if (groups.tse) {
      for (std::uint32_t c : users_file_.columns) {
        if (c >= kFirstTse && c <= kLastTse) tse_columns_.push_back(c);
      }
    }
  }

  void set_sid_text(std::string text) { sid_text_ = std::move(text); }

  // False, with `status` set, when the account cannot be described: the
  // export of the target ends there.
  bool Write(std::string_view account, win::Status& status) {
    if (users_file_.is_open()) {
      const platform::UserInfoResult info =
          context_.session.users().NetUserGetInfo(target_.path, account, kUserInfoLevel3);
      if (info.status != win::ERROR_SUCCESS) {
        status = info.status;
        return false;
      }
      WriteUser(account, info.info);
    }
    if (groups_file_.is_open()) WriteGroups(account);
    return true;
  }

 private:
  void WriteUser(std::string_view account, const platform::UserInfo& u) {
    const format::FormatSettings& format = context_.format;
    const auto epoch = [&](std::uint32_t seconds) {
      return format::FormatEpochTime(seconds, false, format);
    };
    user_row_[kUserName] = u.name;
    user_row_[kFullName] = u.full_name;
    user_row_[kComment] = u.comment;
    user_row_[kPasswordAge] = Signed(u.password_age / kSecondsPerDay);
    user_row_[kPrivLevel] = PrivilegeText(u.priv);
    user_row_[kHomeDir] = u.home_dir;
    user_row_[kHomeDirDrive] = u.home_dir_drive;
    user_row_[kAccountFlags] = out_.JoinList(format::AccountFlagNames(u.flags));
    user_row_[kLogonScript] = u.script_path;
    user_row_[kNote] = out_.ReplaceLineBreaks(u.usr_comment);
    user_row_[kWorkstations] =
        WorkstationsText(u.workstations, out_.settings().secondary_delimiter);
    user_row_[kExpiration] = epoch(u.acct_expires);
    user_row_[kLogonHours] = LogonHoursText(u);
    user_row_[kRid] = Signed(u.user_id);
    user_row_[kPrimaryGroupRid] = Signed(u.primary_group_id);
    user_row_[kProfile] = u.profile;
    user_row_[kPasswordExpired] = u.password_expired != 0 ? format::kYes : format::kNo;
    if (groups_.sid) user_row_[kUserSid] = sid_text_ + "-" + Signed(u.user_id);
    if (groups_.ras) {
      DialInTexts dial_in = DialIn(account);
      user_row_[kRasAllowed] = std::move(dial_in.allowed);
      user_row_[kRasSetting] = std::move(dial_in.setting);
      user_row_[kRasCallback] = std::move(dial_in.callback);
    }
    for (std::uint32_t c : tse_columns_) user_row_[c] = TseText(account, c);

    std::uint32_t last_logon = u.last_logon;
    std::uint32_t last_logoff = u.last_logoff;
    std::uint32_t bad_pw_count = u.bad_pw_count;
    std::uint32_t logon_count = u.num_logons;
    if (consolidated_ != nullptr) {
      if (const auto it = consolidated_->find(std::string(account)); it != consolidated_->end()) {
        last_logon = it->second.last_logon;
        last_logoff = it->second.last_logoff;
        bad_pw_count = it->second.bad_pw_count;
        logon_count = it->second.logon_count;
      }
    }
    user_row_[kLastLogon] = epoch(last_logon);
    user_row_[kLastLogoff] = epoch(last_logoff);
    user_row_[kBadPwdCount] = Signed(bad_pw_count);
    user_row_[kLogonCount] = Signed(logon_count);
    user_row_.Write();
  }

  // The dial-in columns need the administration library. A failed lookup
  // is no failure of the export: its columns say "ERROR".
  DialInTexts DialIn(std::string_view account) {
    if (!ras_loaded_) return SameText(format::kNoFormat);
    platform::RemoteAccess& ras = context_.session.remote_access();
    const platform::RasUserResult answer =
        context_.format.local_major_version < kFirstMajorWithMprapi
            ? ras.RasAdminUserGetInfo(target_.path, account)
            : ras.MprAdminUserGetInfo(target_.path, account, kRasUserLevel0);
    if (answer.status != win::ERROR_SUCCESS) return SameText(format::kError);
    return DialInValues(answer.user);
  }

  std::string TseText(std::string_view account, std::uint32_t column) {
    if (!tse_loaded_) return std::string(format::kNoFormat);
    const TseUserField& field = TseUserFields()[column - kFirstTse];
    const platform::UserConfigResult answer =
        context_.session.terminal().QueryUserConfig(target_.path, account, field.config_class);
    return answer.status == win::ERROR_SUCCESS ? TseUserValue(field, answer) : std::string();
  }

  // Group lookups that fail give no rows and no message.
  void WriteGroups(std::string_view account) {
    platform::UserAccounts& users = context_.session.users();
    const platform::UserGroupsResult local =
        users.NetUserGetLocalGroups(target_.path, account, 0, 0);
    if (local.status == win::ERROR_SUCCESS) {
      for (const std::string& group : local.groups) WriteGroup(account, group, "LOCAL");
    }
    const platform::UserGroupsResult global = users.NetUserGetGroups(target_.path, account, 0);
    if (global.status == win::ERROR_SUCCESS) {
      for (const std::string& group : global.groups) {
        if (group != kNoGlobalGroup) WriteGroup(account, group, "GLOBAL");
      }
    }
  }

  void WriteGroup(std::string_view account, std::string_view group, std::string_view type) {
    group_row_[kGroupUser] = account;
    group_row_[kGroupName] = group;
    group_row_[kGroupType] = type;
    group_row_.Write();
  }

  ExportContext& context_;
  RunOutput& out_;
  const tagCObjects& target_;
  const UserColumnGroups& groups_;
  const LastLogonMap* consolidated_;
  TypedOutput& users_file_;
  TypedOutput& groups_file_;
  Row user_row_;
  Row group_row_;
  const bool ras_loaded_;
  const bool tse_loaded_;
  std::vector<std::uint32_t> tse_columns_;
  std::string sid_text_;
};

// The domain SID text of `target`, asked unless the run knows it.
std::string DomainSidText(ExportContext& context, const tagCObjects& target,
                          DomainSidCache& cache) {
  constexpr int kFirstMajorWithStringSids = 5;
  if (context.format.local_major_version < kFirstMajorWithStringSids) {
    return std::string(format::kNoFormat);
  }
  if (std::optional<std::string> known = cache.Find(target.path)) return std::move(*known);
  const platform::UserModals2Result modals =
      context.session.user_modals().NetUserModalsGet2(target.path);
  if (modals.status != win::ERROR_SUCCESS) return std::string(format::kError);
  std::string text = modals.domain_id.ToString();
  cache.Add(target.path, text);
  return text;
}

}  // namespace

std::optional<std::string> DomainSidCache::Find(const std::string& computer) const {
  const std::lock_guard lock(mutex_);
  const auto it = sids_.find(computer);
  if (it == sids_.end()) return std::nullopt;
  return it->second;
}

void DomainSidCache::Add(const std::string& computer, const std::string& sid_text) {
  const std::lock_guard lock(mutex_);
  sids_.emplace(computer, sid_text);
}

UserColumnGroups ColumnGroupsOf(const std::vector<std::uint32_t>& columns) {
  UserColumnGroups groups;
  for (std::uint32_t c : columns) {
    groups.sid |= c == kUserSid;
    groups.ras |= c >= kRasAllowed && c <= kRasCallback;
    groups.tse |= c >= kFirstTse && c <= kLastTse;
  }
  return groups;
}

bool ExportComputerUsers(ExportContext& context, const tagCObjects& target,
                         const UserColumnGroups& groups, DomainSidCache& sid_cache,
                         const LastLogonMap* consolidated) {
  RunOutput& out = context.output;
  ExportProgress progress(out, target, "Exporting Users...", ProgressKind::kUsers);
  UserRows rows(context, target, groups, consolidated);
  if (groups.sid) rows.set_sid_text(DomainSidText(context, target, sid_cache));

  std::string failure;
  const win::Status listed = ForEachDisplayUser(
      context.session.users(), target.path, [&](const platform::DisplayUser& user) {
        if (context.StopRequested()) {
          failure = MessageText(kMsgExportAborted);
          return false;
        }
        win::Status status = win::ERROR_SUCCESS;
        if (rows.Write(user.name, status)) return true;
        failure = FillMessage("Unable to lookup user information for '%s' from '%s'. ",
                              {user.name, target.path}) +
                  WindowsErrorText(status);
        return false;
      });
  if (listed != win::ERROR_SUCCESS) {
    failure = FillMessage("Unable to get user information from '%s'. ", {target.path}) +
              WindowsErrorText(listed);
  }
  if (!failure.empty()) progress.ReportFailure(failure);
  out.LogLine(&target, ExportTypeInfo(kUsers).log_name, !failure.empty(), failure);
  return !failure.empty();
}

}  // namespace tabulon
