#include "exporters/templates/directory/query_export.h"

#include "engine/directory_path.h"
#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/object_file.h"
#include "engine/row.h"
#include "exporters/templates/directory/entry_cells.h"
#include "exporters/templates/directory/logon_collection.h"
#include "exporters/templates/directory/memberships.h"
#include "exporters/templates/directory/photos.h"
#include "exporters/templates/directory/query_columns.h"
#include "exporters/templates/directory/query_settings.h"
#include "exporters/toolkit/export_progress.h"
#include "format/special_values.h"
#include "platform/text.h"

namespace tabulon {
namespace {

constexpr std::size_t kFlushEveryRows = 200;
constexpr int kFirstDirectoryMajorVersion = 5;

// Single directory objects are searched with their subtree whatever the
// query's level, so that the object itself is found.
bool IsSingleObject(std::uint32_t type) {
  switch (type) {
    case kObjectDirectoryUser:
    case kObjectDirectoryGroup:
    case kObjectDirectoryComputer:
    case kObjectDirectoryContact:
    case kObjectDirectoryShare:
    case kObjectDirectoryPrinter:
    case kObjectDirectoryObject:
      return true;
    default:
      return false;
  }
}

// The flat-named controller of the domain `path` lies in, without its
// leading "\\"; empty (with the message shown) when none is found.
std::string ControllerOf(ExportContext& context, const std::string& path) {
  const std::string domain = DomainNameOfPath(path);
  constexpr std::uint32_t kFlags = platform::kDsDirectoryServiceRequired |
                                   platform::kDsWritableRequired | platform::kDsReturnFlatName;
  platform::DcInfoResult dc = context.session.directory().DsGetDcName(domain, kFlags);
  if (dc.status != win::ERROR_SUCCESS) {
    dc = context.session.directory().DsGetDcName(domain, kFlags | platform::kDsForceRediscovery);
  }
  if (dc.status != win::ERROR_SUCCESS) {
    context.output.GeneralFailure(FormatMessageId(kMsgNoDomainControllerFor, {domain}) +
                                  WindowsErrorText(dc.status));
    return {};
  }
  std::string name = dc.info.dc_name;
  while (name.starts_with('\\')) name.erase(0, 1);
  return name;
}

class QueryExport {
 public:
  QueryExport(ExportContext& context, const tagCObjects& target, const PreparedTemplate& query,
              const DirectoryQuerySettings& settings, DirectoryQueryShared& shared)
      : context_(context),
        out_(context.output),
        target_(target),
        query_(query),
        shared_(shared),
        path_(DirectoryPathOf(target)),
        settings_(settings),
        cells_(context.output, context.format, path_),
        file_(*query.file) {
    symbols_ = out_.symbols();
    symbols_.target = &target_;
    symbols_.template_name = query_.name;
  }

  bool Run() {
    if (context_.format.local_major_version < kFirstDirectoryMajorVersion) return false;
    const QueryFilter& filter = QueryFilterFor(settings_.filter);
    announced_ = FormatMessageId(kMsgExportingDirectory, {query_.name});
    row_ = out_.AddProgressRow(target_.display_name, announced_, 0, filter.progress_kind);
    out_.RecordOutputFile(kDirectory, query_.name, query_.output_path);

    platform::DirectorySearch& directory = context_.session.directory_search();
    const platform::DirectoryOpenOptions options =
        DirectoryOpenOptionsFor(path_, context_.directory, context_.session_options);
    platform::DirectoryStatus open = directory.Open(options);
    if (open.ok()) {
      // Opening binds the object itself, as the directory interface does.
      platform::DirectoryEntry object;
      const std::string names[] = {"objectClass"};
      open = platform::ReadObject(directory, options.base, names, object);
    }
    if (!open.ok()) {
      directory.Close();
      return Finish(false, FormatMessageId(kMsgDirectoryOpen, {path_}) + DirectoryErrorText(open));
    }
    const bool ok = Search(directory, options, filter);
    directory.Close();
    return ok;
  }

 private:
  bool Search(platform::DirectorySearch& directory, const platform::DirectoryOpenOptions& options,
              const QueryFilter& filter) {
    std::vector<std::string> names;
    if (!SplitColumnNames(settings_.attributes, kMaxQueryAttributes, names)) {
      return Finish(false, FormatMessageId(kMsgTooManyDirectoryAttributes,
                                           {std::to_string(kMaxQueryAttributes)}));
    }
    plan_ = PlanColumns(names);
    std::vector<std::string> membership_names;
    const std::string& membership_text =
        settings_.group_members ? settings_.member_attributes : settings_.group_attributes;
    if ((settings_.group_members || settings_.account_groups) &&
        !SplitColumnNames(membership_text, kMaxMembershipColumns, membership_names)) {
      return Finish(false, FormatMessageId(kMsgTooManyDirectoryAttributes,
                                           {std::to_string(kMaxMembershipColumns)}));
    }
    if (plan_.has_terminal) {
      controller_ = ControllerOf(context_, path_);
      terminal_loaded_ = context_.session.terminal().Libraries().terminal_services;
      if (!terminal_loaded_ && out_.AskYesNo(MessageText(kMsgTseLibrariesMissing), false)) {
        return Finish(true, ObjectsExported());
      }
    }
    photos_ = ReadPhotoSettings(shared_.config, names, query_.output_path);

    const platform::AttributeKinds& kinds = shared_.kinds.For(directory, options);
    Row row(out_, file_, plan_.columns.size() + membership_names.size());
    MembershipRows members{directory,
                           kinds,
                           cells_,
                           row,
                           file_,
                           context_.session.lookup(),
                           symbols_,
                           plan_.columns.size(),
                           PlanColumns(membership_names),
                           context_.stop};
    platform::SearchRequest request;
    request.scope = settings_.level == 1 || IsSingleObject(target_.type)
                        ? platform::SearchScope::kSubtree
                        : platform::SearchScope::kOneLevel;
    request.filter = std::string(filter.ldap_filter);
    request.attributes = plan_.requested;
    request.kinds = &kinds;
    // A stop request ends the search between two objects; a failure of
    // the member or group reads ends it too.
    platform::DirectoryStatus searched =
        directory.Search(request, [&](platform::DirectoryEntry&& entry) {
          if (context_.StopRequested()) {
            members.stopped = true;
            return false;
          }
          return WriteEntry(entry, members);
        });
    if (searched.ok() && !members.failure.ok()) searched = members.failure;
    if (searched.ok() && members.stopped) {
      return Finish(false, std::string(MessageText(kMsgExportAborted)));
    }
    if (!searched.ok()) {
      const std::string_view failed =
          members.failed_filter.empty() ? filter.ldap_filter : members.failed_filter;
      return Finish(false,
                    FormatMessageId(kMsgDirectorySearch, {failed}) + DirectoryErrorText(searched));
    }
    return Finish(true, ObjectsExported());
  }

  // False when the member or group rows ended early (`members.failure`).
  bool WriteEntry(const platform::DirectoryEntry& entry, MembershipRows& members) {
    Row& row = members.row;
    std::string account;
    std::string ads_path;
    for (std::size_t i = 0; i < plan_.columns.size(); ++i) {
      const QueryColumn& column = plan_.columns[i];
      std::string& cell = row[i];
      if (column.kind == QueryColumn::Kind::kSymbol) {
        cell = EvaluateSymbol(column.name, symbols_);
      } else if (column.kind == QueryColumn::Kind::kAttribute) {
        std::string photo;
        const bool photo_written =
            photos_.enabled && column.photo && entry.Find(column.name) != nullptr;
        if (photo_written)
          photo = WritePhotoFile(out_, photos_, account, FirstValue(entry, column.name));
        cell = cells_.Text(entry, column.name, photo_written ? &photo : nullptr);
        if (account.empty() && column.account_name) {
          account = FirstValue(entry, column.name);
        }
        if (ads_path.empty() && column.ads_path) {
          ads_path = cells_.AdsPath(entry.dn);
        }
      }
    }
    if (plan_.has_terminal) FillTerminalColumns(row, account);
    if (shared_.consolidated != nullptr && !account.empty()) FillConsolidated(row, account);
    ++objects_;
    bool whole = true;
    if (settings_.group_members) {
      whole = ExportGroupMembers(members, ads_path, "", settings_.nested_members, 0);
      row.Clear();
    } else if (settings_.account_groups) {
      whole = ExportAccountGroups(members, ads_path);
      row.Clear();
    } else {
      row.Write();
    }
    if (objects_ % kFlushEveryRows == 0) out_.FlushRows(file_);
    return whole;
  }

  void FillTerminalColumns(Row& row, const std::string& account) {
    if (account.empty() || controller_.empty()) return;
    for (std::size_t i = 0; i < plan_.columns.size(); ++i) {
      const QueryColumn& column = plan_.columns[i];
      if (column.kind != QueryColumn::Kind::kTerminal) continue;
      std::string& cell = row[i];
      if (!terminal_loaded_) {
        cell = std::string(format::kNoFormat);
      } else if (column.terminal != nullptr) {
        const platform::UserConfigResult answer = context_.session.terminal().QueryUserConfig(
            controller_, account, column.terminal->config_class);
        cell = answer.status == win::ERROR_SUCCESS ? TseUserValue(*column.terminal, answer)
                                                   : std::string();
      }
    }
  }

  void FillConsolidated(Row& row, const std::string& account) {
    for (std::size_t i = 0; i < plan_.columns.size(); ++i) {
      const QueryColumn& column = plan_.columns[i];
      if (column.kind != QueryColumn::Kind::kAttribute) continue;
      std::optional<std::string> value =
          ConsolidatedDirectoryValue(*shared_.consolidated, column.name, account, context_.format);
      if (value) row[i] = std::move(*value);
    }
  }

  std::string ObjectsExported() const {
    return FormatMessageId(kMsgObjectsExported, {std::to_string(objects_)});
  }

  // A failure goes onto the query's row, or without a window onto standard
  // error, as well as into the log.
  bool Finish(bool ok, const std::string& message) {
    if (ok) {
      out_.AppendProgress(row_, message, 0);
    } else if (!announced_.empty()) {  // else shown as a message already
      ReportRowFailure(out_, row_, target_.display_name, announced_, message, 0);
    }
    out_.LogLine(&target_, "ACTIVE_DIRECTORY - " + query_.name, !ok, message);
    return ok;
  }

  ExportContext& context_;
  RunOutput& out_;
  const tagCObjects& target_;
  const PreparedTemplate& query_;
  DirectoryQueryShared& shared_;
  const std::string& path_;
  const DirectoryQuerySettings& settings_;
  EntryCells cells_;
  SymbolContext symbols_;
  OutputFile& file_;
  std::string announced_;  // the text of the query's progress row
  int row_ = -1;
  ColumnPlan plan_;
  PhotoSettings photos_;
  std::string controller_;
  bool terminal_loaded_ = false;
  std::size_t objects_ = 0;
};

}  // namespace

const std::string& DirectoryPathOf(const tagCObjects& target) {
  return target.type == kObjectDirectoryComputer ? target.source_path : target.path;
}

bool ExportDirectoryQuery(ExportContext& context, const tagCObjects& target,
                          const PreparedTemplate& query, const DirectoryQuerySettings& settings,
                          DirectoryQueryShared& shared) {
  return QueryExport(context, target, query, settings, shared).Run();
}

}  // namespace tabulon
