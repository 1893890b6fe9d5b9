#include "exporters/accounts/groups/groups.h"

#include <algorithm>
#include <memory>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/object_file.h"
#include "engine/row.h"
#include "exporters/accounts/groups/member_caches.h"
#include "exporters/accounts/groups/member_details.h"
#include "exporters/accounts/groups/nested_members.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/paging.h"
#include "format/accounts.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kPreferredLength = 65536;
constexpr std::uint32_t kControllerTypeBits = 0x8 | 0x10;  // PDC, BDC
constexpr std::string_view kLocal = "LOCAL";

enum GroupColumn : std::uint32_t {
  kGroupName = 0,
  kGroupComment = 1,
  kGroupType = 2,
  kGroupSid = 3,
};

bool Selected(const TypedOutput& file, std::uint32_t column) {
  return std::find(file.columns.begin(), file.columns.end(), column) != file.columns.end();
}

bool IsDomainController(const tagCObjects& target) {
  return target.type == kObjectBackupController ||
         ((target.server_type & kControllerTypeBits) != 0 && target.major_version > 4);
}

bool IsUnresolved(platform::SidNameUse usage) {
  return usage == platform::SidNameUse::kDeletedAccount || usage == platform::SidNameUse::kUnknown;
}

std::string_view ListedType(platform::SidNameUse usage) {
  using platform::SidNameUse;
  switch (usage) {
    case SidNameUse::kUser:
      return "USER";
    case SidNameUse::kGroup:
      return "GLOBAL_GROUP";
    case SidNameUse::kDomain:
      return "DOMAIN";
    case SidNameUse::kAlias:
      return "LOCAL_GROUP";
    case SidNameUse::kWellKnownGroup:
      return "WELL_KNOWN_GROUP";
    case SidNameUse::kDeletedAccount:
      return "Deleted Account";
    case SidNameUse::kInvalid:
      return "INVALID";
    case SidNameUse::kUnknown:
      return "Unknown Account";
    case SidNameUse::kComputer:
      return "COMPUTER";
    default:
      return {};
  }
}

// The failure of a target: the text of the last failing step and the
// status of the last failing call, reported when the target is done.
struct TargetFailure {
  bool failed = false;
  std::string text;
  win::Status status = win::ERROR_SUCCESS;

  void Set(std::string message, win::Status call_status) {
    failed = true;
    text = std::move(message);
    status = call_status;
  }
};

class GroupExport {
 public:
  GroupExport(ExportContext& context, const GroupExportOptions& options, GroupMemberCaches& caches,
              const tagCObjects& target)
      : context_(context),
        options_(options),
        target_(target),
        groups_file_(context.files.of(kGroups)),
        members_file_(context.files.of(kGroupMembers)),
        group_row_(context.output, groups_file_, &target),
        member_row_(context.output, members_file_, &target),
        write_groups_(options.groups && groups_file_.is_open()),
        write_members_(options.members && members_file_.is_open()),
        details_wanted_(write_members_ && (Selected(members_file_, kMemberFullName) ||
                                           Selected(members_file_, kMemberComment) ||
                                           Selected(members_file_, kMemberEnabled))),
        sid_wanted_(write_groups_ && Selected(groups_file_, kGroupSid)),
        details_(context.session, caches),
        nested_(context, member_row_, details_, {details_wanted_, options.disabled_users}) {}

  void Run() {
    RunOutput& out = context_.output;
    ExportProgress progress(out, target_, "Exporting Group Information...", ProgressKind::kGroups);
    platform::GroupService& groups = context_.session.groups();
    const win::Status status = ForEachPagedEntry(
        [&](std::uint32_t resume) {
          return groups.NetLocalGroupEnum1(target_.path, kPreferredLength, resume);
        },
        [&](const platform::LocalGroupInfo1& group) {
          ExportGroup(group);
          return GoOn();
        });
    if (status != win::ERROR_SUCCESS) {
      failure_.Set(FillMessage("Unable to get local groups for '%s'. ", {target_.path}), status);
    }
    std::string text;
    if (failure_.failed) {
      text = failure_.text;
      if (failure_.status != win::ERROR_SUCCESS) text += WindowsErrorText(failure_.status);
    }
    if (stopped_) text += MessageText(kMsgExportAborted);
    if (!text.empty()) progress.ReportFailure(text);
    out.LogLine(&target_, ExportTypeInfo(kGroups).log_name, failure_.failed || stopped_, text);
  }

 private:
  // False once the run's stop request is seen: the groups, their members
  // and their expansion end there.
  bool GoOn() {
    if (context_.StopRequested()) stopped_ = true;
    return !stopped_;
  }

  void ExportGroup(const platform::LocalGroupInfo1& group) {
    if (!options_.patterns.empty() && !format::MatchNameList(group.name, options_.patterns)) {
      return;
    }
    if (write_groups_) {
      group_row_[kGroupName] = group.name;
      group_row_[kGroupComment] = group.comment;
      group_row_[kGroupType] = kLocal;
      if (sid_wanted_) {
        group_row_[kGroupSid] = format::AccountSidString(context_.session.lookup(), target_.path,
                                                         group.name, context_.format);
      }
      group_row_.Write();
    }
    if (write_members_) ExportMembers(group.name);
  }

  void ExportMembers(const std::string& group) {
    RunOutput& out = context_.output;
    platform::GroupService& groups = context_.session.groups();
    bool any = false;
    const win::Status status = ForEachPagedEntry(
        [&](std::uint32_t resume) {
          return groups.NetLocalGroupGetMembers2(target_.path, group, kPreferredLength, resume);
        },
        [&](const platform::LocalGroupMembersInfo2& member) {
          any = true;
          ExportMember(group, member);
          return GoOn();
        });
    if (status != win::ERROR_SUCCESS) {
      std::string message = FillMessage("Unable to get local group members for '%s' from '%s'. ",
                                        {group, target_.path});
      out.AddProgressRow(target_.display_name, message + WindowsErrorText(status),
                         out.settings().verbose_progress ? 2 : 1, ProgressKind::kFailure);
      failure_.Set(std::move(message), status);
    }
    if (!any && options_.empty_groups) {
      member_row_[kMemberGroupName] = group;
      member_row_[kMemberName] = "NO_MEMBERS";
      member_row_.Write();
    }
  }

  void ExportMember(const std::string& group, const platform::LocalGroupMembersInfo2& member) {
    const bool unresolved = IsUnresolved(member.sid_usage);
    if (unresolved && !options_.unresolved_sids) return;
    member_row_[kMemberGroupName] = group;
    member_row_[kMemberName] = unresolved ? member.sid.ToString() : member.domain_and_name;
    member_row_[kMemberType] = ListedType(member.sid_usage);
    member_row_[kMemberGroupType] = kLocal;
    if (details_wanted_ && !unresolved &&
        !details_.Lookup(member_row_, target_.path, member.sid_usage, member.domain_and_name) &&
        !options_.disabled_users) {
      member_row_.Clear();
      return;
    }
    // The nested rows repeat the group's columns of this row.
    member_row_.WriteKeepingValues();
    if (options_.nested_groups && (member.sid_usage == platform::SidNameUse::kGroup ||
                                   member.sid_usage == platform::SidNameUse::kAlias)) {
      nested_.Expand(target_, member.sid_usage, member.domain_and_name);
    }
    member_row_.Clear();
  }

  ExportContext& context_;
  const GroupExportOptions& options_;
  const tagCObjects& target_;
  TypedOutput& groups_file_;
  TypedOutput& members_file_;
  Row group_row_;
  Row member_row_;
  const bool write_groups_;
  const bool write_members_;
  const bool details_wanted_;
  const bool sid_wanted_;
  MemberDetails details_;
  NestedMembers nested_;
  TargetFailure failure_;
  bool stopped_ = false;
};

}  // namespace

void ExportGroupRows(ExportContext& context, const GroupExportOptions& options,
                     GroupMemberCaches& caches, const tagCObjects& target) {
  if (IsDomainController(target)) return;
  GroupExport(context, options, caches, target).Run();
}

namespace {

class GroupsRun final : public ExporterRun {
 public:
  GroupsRun(const Configuration& config, const EnabledExports& enabled) {
    options_.groups = enabled[kGroups];
    options_.members = enabled[kGroupMembers];
    if (!options_.groups && !options_.members) return;
    options_.unresolved_sids = config.ReadSwitch("Groups", "ExportUnresolvedSids");
    options_.empty_groups = config.ReadSwitch("Groups", "ExportEmptyGroups");
    options_.nested_groups = config.ReadSwitch("Groups", "ExportNestedGroups");
    options_.disabled_users = config.ReadSwitch("Groups", "ExportDisabledUsers");
  }
  bool Prepare(UnitSetup& setup) override {
    if (!Wanted(nullptr) || !setup.config.ReadSwitch("Groups", "ExportSpecificGroups")) {
      return true;
    }
    return setup.LoadListFile(setup.config.ReadSettingText("Groups", "SpecificFileName"),
                              options_.patterns);
  }
  bool Wanted(const SecurityAccessSink* /*security*/) const override {
    return options_.groups || options_.members;
  }
  void ExportTarget(ExportContext& context, const tagCObjects& target) override {
    ExportGroupRows(context, options_, caches_, target);
  }

 private:
  GroupMemberCaches caches_;  // for this run only
  GroupExportOptions options_;
};

constexpr ExportType kTypes[] = {kGroups, kGroupMembers};

}  // namespace

ExporterUnit GroupsUnit() {
  return {.name = "groups",
          .types = kTypes,
          .start = [](const Configuration& config,
                      const EnabledExports& enabled) -> std::unique_ptr<ExporterRun> {
            return std::make_unique<GroupsRun>(config, enabled);
          }};
}

}  // namespace tabulon
