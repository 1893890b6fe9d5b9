#include "exporters/templates/directory/logon_runs.h"

#include "engine/directory_path.h"
#include "engine/directory_target.h"
#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/progress.h"
#include "exporters/templates/directory/logon_collection.h"
#include "exporters/toolkit/domain_controllers.h"
#include "exporters/toolkit/export_progress.h"

namespace tabulon {
namespace {

// The path of the target as seen on `controller`: the part of the path
// after its server ("LDAP://srv/" + DN); a path naming no server keeps its
// DN, the object a server-less path binds to.
std::string PathOnController(std::string_view path, std::string_view controller) {
  const std::size_t slash = EndOfServerPart(path);
  const std::string rest = slash != std::string_view::npos ? std::string(path.substr(slash + 1))
                                                           : LocateDirectoryObject(path).dn;
  std::string out = "LDAP://" + std::string(controller);
  if (!rest.empty()) out += "/" + rest;
  return out;
}

// A controller whose values cannot be read (unreachable, or its listing
// failing) is left out of the consolidated values: said on its row, or
// without a window on standard error, and in the log.
void Collect(ExportContext& context, const tagCObjects& controller, const PreparedTemplate& query,
             bool computers, LastLogonMap& logons) {
  RunOutput& out = context.output;
  const std::string announced = FormatMessageId(kMsgGettingLastLogon, {controller.display_name});
  const int row =
      out.AddProgressRow(controller.display_name, announced, 1, ProgressKind::kLogonCollection);
  platform::DirectorySearch& directory = context.session.directory_search();
  platform::DirectoryStatus status = directory.Open(
      DirectoryOpenOptionsFor(controller.path, context.directory, context.session_options));
  std::string text;
  if (!status.ok()) {
    text = FormatMessageId(kMsgDirectoryOpen, {controller.path});
  } else {
    status = CollectDirectoryLogons(directory, computers, context.stop, logons);
    text = FormatMessageId(kMsgDirectorySearch, {DirectoryLogonFilter(computers)});
  }
  directory.Close();
  if (status.ok()) return;
  text = context.StopRequested() ? std::string(MessageText(kMsgExportAborted))
                                 : text + DirectoryErrorText(status);
  ReportRowFailure(out, row, controller.display_name, announced, text, 1);
  out.LogLine(&controller, "ACTIVE_DIRECTORY - " + query.name, true, text);
}

}  // namespace

void RunDirectoryQuery(ExportContext& context, const tagCObjects& target,
                       const PreparedTemplate& query, const DirectoryQuerySettings& settings,
                       DirectoryQueryShared& shared, const format::NameList* skip) {
  const bool accounts = settings.filter == 1 || settings.filter == 6;
  if (!accounts || !settings.logon_information) {
    ExportDirectoryQuery(context, target, query, settings, shared);
    return;
  }
  // What this target's controllers say; read by its consolidated export
  // only.
  LastLogonMap logons;
  const std::string& path = DirectoryPathOf(target);
  const std::string domain = DomainNameOfPath(path);
  platform::DirectoryOpenOptions options =
      DirectoryOpenOptionsFor(path, context.directory, context.session_options);
  options.base = DnOfDomainName(domain);
  const std::vector<std::string> controllers =
      DirectoryDomainControllers(context.session.directory_search(), options, domain,
                                 settings.skip_controllers ? skip : nullptr, context.output);
  const bool consolidate = settings.last_logon_type == 0;
  for (const std::string& controller : controllers) {
    if (context.StopRequested()) return;
    tagCObjects copy = target;
    copy.display_name = controller;
    copy.path = PathOnController(path, controller);
    copy.source_path = copy.path;
    if (consolidate) {
      Collect(context, copy, query, settings.filter == 6, logons);
    } else {
      ExportDirectoryQuery(context, copy, query, settings, shared);
    }
  }
  if (!consolidate || context.StopRequested()) return;
  DirectoryQueryShared merged = shared;
  merged.consolidated = &logons;
  ExportDirectoryQuery(context, target, query, settings, merged);
}

}  // namespace tabulon
