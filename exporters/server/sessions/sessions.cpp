#include "exporters/server/sessions/sessions.h"

#include "engine/row.h"
#include "exporters/toolkit/simple_unit.h"

#include "engine/error_text.h"
#include "engine/messages.h"
#include "exporters/toolkit/decimal.h"
#include "exporters/toolkit/export_progress.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kPreferredLength = 65536;

enum Column : std::uint32_t {
  kComputer = 0,
  kUser = 1,
  kTransport = 2,
  kOpens = 3,
  kActiveTime = 4,
  kIdleTime = 5,
};

}  // namespace

void ExportSessionRows(ExportContext& context, const tagCObjects& target) {
  RunOutput& out = context.output;
  Row row(out, context.files.of(kSessions), &target);
  ExportProgress progress(out, target, "Exporting Sessions...", ProgressKind::kSessions);

  std::string failure;
  std::uint32_t level = 502;
  std::uint32_t resume = 0;
  while (true) {
    const platform::SessionEnumResult page = context.session.server().NetSessionEnum(
        target.path, "", "", level, kPreferredLength, resume);
    if (page.status != win::ERROR_SUCCESS && page.status != win::ERROR_MORE_DATA) {
      if (level == 502) {
        level = 1;
        resume = 0;
        continue;
      }
      failure = FillMessage("Error getting sessions on '%s'. Error = %d. ",
                            {target.path, std::to_string(page.status)}) +
                WindowsErrorText(page.status);
      break;
    }
    for (const platform::SessionInfo& session : page.entries) {
      row[kComputer] = session.cname;
      row[kUser] = session.username;
      if (level == 502) row[kTransport] = session.transport;
      row[kOpens] = DecimalText(session.num_opens);
      row[kActiveTime] = DecimalText(session.time);
      row[kIdleTime] = DecimalText(session.idle_time);
      row.Write();
    }
    if (page.entries.empty() || page.resume_handle == 0) break;
    resume = page.resume_handle;
  }

  if (!failure.empty()) progress.ReportFailure(failure);
  out.LogLine(&target, ExportTypeInfo(kSessions).log_name, !failure.empty(), failure);
}

}  // namespace tabulon

namespace tabulon {

ExporterUnit SessionsUnit() {
  static constexpr ExportType kTypes[] = {kSessions};
  return {.name = "sessions",
          .types = kTypes,
          .start = StartEnabledTypeRun<kSessions, ExportSessionRows>};
}

}  // namespace tabulon
