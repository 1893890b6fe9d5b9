#include "exporters/toolkit/last_logons.h"

#include <algorithm>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/progress.h"
#include "exporters/toolkit/export_progress.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kUserInfoLevel2 = 2;

}  // namespace

void MergeLastLogon(LastLogonMap& map, const tagLastLogon& values) {
  const auto [it, added] = map.try_emplace(values.name, values);
  if (added) return;
  tagLastLogon& record = it->second;
  record.logon_count += values.logon_count;
  record.bad_pw_count += values.bad_pw_count;
  record.last_logon = std::max(record.last_logon, values.last_logon);
  record.last_logoff = std::max(record.last_logoff, values.last_logoff);
}

void MergeLastLogon(LastLogonMap& map, const platform::UserInfo& info) {
  MergeLastLogon(
      map, {info.name, info.last_logon, info.last_logoff, info.bad_pw_count, info.num_logons});
}

// A controller whose accounts cannot be listed is left out of the
// consolidated values: said on its row, or without a window on standard
// error as for a controller that does not answer, and in the log.
void CollectLastLogons(ExportContext& context, const tagCObjects& controller, LastLogonMap& map) {
  RunOutput& out = context.output;
  const std::string announced = FormatMessageId(kMsgGettingLastLogon, {controller.path});
  const int row =
      out.AddProgressRow(controller.display_name, announced, 1, ProgressKind::kLogonCollection);
  platform::UserAccounts& users = context.session.users();
  bool stopped = false;
  const win::Status status =
      ForEachDisplayUser(users, controller.path, [&](const platform::DisplayUser& user) {
        if (context.StopRequested()) {
          stopped = true;
          return false;
        }
        const platform::UserInfoResult info =
            users.NetUserGetInfo(controller.path, user.name, kUserInfoLevel2);
        // An account the controller cannot describe adds nothing.
        if (info.status == win::ERROR_SUCCESS) MergeLastLogon(map, info.info);
        return true;
      });
  if (status == win::ERROR_SUCCESS && !stopped) return;
  const std::string text =
      stopped ? std::string(MessageText(kMsgExportAborted))
              : FillMessage("Unable to get user information from '%s'. ", {controller.path}) +
                    WindowsErrorText(status);
  ReportRowFailure(out, row, controller.display_name, announced, text, 1);
  out.LogLine(&controller, "USERS", true, text);
}

}  // namespace tabulon
