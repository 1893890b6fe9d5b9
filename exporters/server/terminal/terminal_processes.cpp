#include "exporters/server/terminal/terminal_processes.h"

#include "engine/row.h"
#include "exporters/toolkit/simple_unit.h"

#include "engine/messages.h"
#include "exporters/server/terminal/terminal_server.h"
#include "format/accounts.h"

namespace tabulon {
namespace {

enum Column : std::uint32_t {
  kSessionId = 0,
  kProcessId = 1,
  kUser = 2,
  kName = 3,
};

std::string UserName(ExportContext& context, const tagCObjects& target,
                     const platform::WtsProcessInfo& process) {
  if (process.user_sid) {
    const format::ResolvedSid resolved =
        format::ResolveSid(context.session.lookup(), target.path, *process.user_sid);
    if (resolved.ok()) return resolved.name;
  }
  return "Unknown Account";
}

}  // namespace

void ExportTseProcessRows(ExportContext& context, const tagCObjects& target) {
  TerminalServerExport server(context, target, kTseProcesses);
  if (server.Open()) {
    const platform::ProcessListResult list =
        server.services().EnumerateProcesses(server.server(), 0, 1);
    if (list.status != win::ERROR_SUCCESS) {
      server.Fail(FillMessage("Unable to enumerate processes on Terminal Server '%s'. ",
                              {target.display_name}),
                  list.status);
    } else {
      RunOutput& out = context.output;
      Row row(out, context.files.of(kTseProcesses), &target);
      for (const platform::WtsProcessInfo& process : list.processes) {
        row[kSessionId] = std::to_string(static_cast<std::int32_t>(process.session_id));
        row[kProcessId] = std::to_string(static_cast<std::int32_t>(process.process_id));
        row[kUser] = UserName(context, target, process);
        row[kName] = process.process_name.empty() && process.process_id == 0
                         ? std::string("System Idle Process")
                         : process.process_name;
        row.Write();
      }
    }
  }
  server.Finish();
}

}  // namespace tabulon

namespace tabulon {

ExporterUnit TseProcessesUnit() {
  static constexpr ExportType kTypes[] = {kTseProcesses};
  return {.name = "terminal processes",
          .types = kTypes,
          .start = StartEnabledTypeRun<kTseProcesses, ExportTseProcessRows>};
}

}  // namespace tabulon
