#include "exporters/server/shares/shares.h"

#include <cstdio>
#include "engine/row.h"

#include "engine/error_text.h"
#include "engine/messages.h"
#include "exporters/toolkit/decimal.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/paging.h"
#include "exporters/toolkit/security.h"
#include "exporters/toolkit/simple_unit.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kConnectionsPreferredLength = 65536;

enum ShareColumn : std::uint32_t {
  kName = 0,
  kType = 1,
  kComment = 2,
  kMaxUsers = 3,
  kCurrentUsers = 4,
  kPath = 5,
};

enum ConnectionColumn : std::uint32_t {
  kConnectionShare = 0,
  kConnectionUser = 1,
  kConnectionComputer = 2,
  kConnectionUsers = 3,
  kConnectionOpens = 4,
  kConnectionTime = 5,
};

bool IsHidden(const platform::ShareInfo& share) {
  return share.netname.ends_with('$');
}

std::string_view TypeText(std::uint32_t type) {
  switch (type) {
    case platform::kStypeDisktree:
      return "DISK";
    case platform::kStypePrintq:
      return "PRINT";
    case platform::kStypeDevice:
      return "DEVICE";
    case platform::kStypeSpecial:
      return "ADMIN";
    default:
      return {};
  }
}

// The Show settings act on whole type values; the "$" rule on every type.
bool Shown(const platform::ShareInfo& share, const ShareOptions& show) {
  if (!show.show_file && share.type == platform::kStypeDisktree) return false;
  if (!show.show_print && share.type == platform::kStypePrintq) return false;
  if (!show.show_admin && share.type == platform::kStypeSpecial) return false;
  if (!show.show_hidden && IsHidden(share)) return false;
  return true;
}

// "H:MM" of whole hours and the minutes left over.
std::string ConnectionTime(std::uint32_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%u:%02u", seconds / 3600, seconds / 60 % 60);
  return text;
}

void HandShareToSecurity(ExportContext& context, const tagCObjects& target,
                         const platform::ShareInfo& share) {
  const std::string share_path = target.path + "\\" + share.netname;
  HandToSecurityAccess(context, target,
                       {SecurityObjectKind::kShare, share.netname, share_path, share.type});
  if (share.type != platform::kStypeDisktree && share.type != platform::kStypeSpecial) return;
  // C:\Data on server S is reached as \\S\C$\Data.
  std::string folder = share.path;
  for (char& c : folder) {
    if (c == ':') c = '$';
  }
  const std::string folder_path = target.path + "\\" + folder;
  HandToSecurityAccess(context, target,
                       {SecurityObjectKind::kShareFolder, share.netname, folder_path, share.type});
}

// One call only: connections beyond what it returns, and its failures, are
// not reported.
void WriteConnectionRows(ExportContext& context, const tagCObjects& target,
                         const platform::ShareInfo& share, Row& row) {
  const platform::ConnectionEnumResult connections = context.session.server().NetConnectionEnum1(
      target.path, share.netname, kConnectionsPreferredLength, 0);
  for (const platform::ConnectionInfo1& c : connections.entries) {
    row[kConnectionShare] = share.netname;
    row[kConnectionUser] = c.username;
    row[kConnectionComputer] = c.netname;
    row[kConnectionUsers] = DecimalText(c.num_users);
    row[kConnectionOpens] = DecimalText(c.num_opens);
    row[kConnectionTime] = ConnectionTime(c.time);
    row.Write();
  }
}

void WriteShareRow(const RunOutput& out, const platform::ShareInfo& share, Row& row) {
  row[kName] = share.netname;
  row[kType] = TypeText(share.type);
  row[kComment] = out.ReplaceLineBreaks(share.remark);
  row[kMaxUsers] =
      share.max_uses == platform::kShiUsesUnlimited ? "UNLIMITED" : DecimalText(share.max_uses);
  row[kCurrentUsers] = DecimalText(share.current_uses);
  row[kPath] = share.path;
  row.Write();
}

}  // namespace

void ExportShareRows(ExportContext& context, const ShareOptions& show, const tagCObjects& target) {
  RunOutput& out = context.output;
  TypedOutput& shares_file = context.files.of(kShares);
  TypedOutput& connections_file = context.files.of(kShareConnections);
  Row share_row(out, shares_file, &target);
  Row connection_row(out, connections_file, &target);
  ExportProgress progress(out, target, "Exporting Shares...", ProgressKind::kShares);

  const bool share_security = WantsSecurity(context, SecurityObjectKind::kShare);
  std::string failure;
  const win::Status status = ForEachPagedEntry(
      [&](std::uint32_t resume) {
        return context.session.server().NetShareEnum(target.path, 502,
                                                     platform::kMaxPreferredLength, resume);
      },
      [&](const platform::ShareInfo& share) {
        if (share_security) HandShareToSecurity(context, target, share);
        if (connections_file.is_open()) WriteConnectionRows(context, target, share, connection_row);
        if (shares_file.is_open() && Shown(share, show)) WriteShareRow(out, share, share_row);
      });
  if (status != win::ERROR_SUCCESS) {
    failure = FormatMessageId(kMsgErrorGettingShares, {target.path}) + WindowsErrorText(status);
  }

  if (!failure.empty()) progress.ReportFailure(failure);
  out.LogLine(&target, ExportTypeInfo(kShares).log_name, !failure.empty(), failure);
}

}  // namespace tabulon

namespace tabulon {
namespace {

class SharesRun final : public ExporterRun {
 public:
  SharesRun(const Configuration& config, const EnabledExports& enabled)
      : rows_(enabled[kShares] || enabled[kShareConnections]) {
    show_.show_file = config.ReadSwitch("Shares", "ShowFileShares");
    show_.show_print = config.ReadSwitch("Shares", "ShowPrintShares");
    show_.show_hidden = config.ReadSwitch("Shares", "ShowHiddenShares");
    show_.show_admin = config.ReadSwitch("Shares", "ShowAdminShares");
  }
  bool Wanted(const SecurityAccessSink* security) const override {
    return rows_ || (security != nullptr && security->Wants(SecurityObjectKind::kShare));
  }
  void ExportTarget(ExportContext& context, const tagCObjects& target) override {
    ExportShareRows(context, show_, target);
  }

 private:
  bool rows_;
  ShareOptions show_;
};

constexpr ExportType kTypes[] = {kShares, kShareConnections};

}  // namespace

ExporterUnit SharesUnit() {
  return {.name = "shares", .types = kTypes, .start = StartRun<SharesRun>};
}

}  // namespace tabulon
