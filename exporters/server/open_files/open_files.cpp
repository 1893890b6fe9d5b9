#include "exporters/server/open_files/open_files.h"

#include "engine/row.h"
#include "exporters/toolkit/simple_unit.h"

#include "engine/error_text.h"
#include "engine/messages.h"
#include "exporters/toolkit/decimal.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/paging.h"

namespace tabulon {
namespace {

enum Column : std::uint32_t {
  kUser = 0,
  kPath = 1,
  kId = 2,
  kPermissions = 3,
  kLocks = 4,
};

}  // namespace

void ExportOpenFileRows(ExportContext& context, const tagCObjects& target) {
  RunOutput& out = context.output;
  Row row(out, context.files.of(kOpenFiles), &target);
  ExportProgress progress(out, target, "Exporting Open Files...", ProgressKind::kOpenFiles);

  std::string failure;
  const win::Status status = ForEachPagedEntry(
      [&](std::uint32_t resume) {
        return context.session.server().NetFileEnum3(target.path, "", "",
                                                     platform::kMaxPreferredLength, resume);
      },
      [&](const platform::FileInfo3& open) {
        row[kUser] = open.username;
        row[kPath] = open.pathname;
        row[kId] = DecimalText(open.id);
        row[kPermissions] = DecimalText(open.permissions);
        row[kLocks] = DecimalText(open.num_locks);
        row.Write();
      });
  if (status != win::ERROR_SUCCESS) {
    failure =
        FillMessage("Error getting open files on '%s'. ", {target.path}) + WindowsErrorText(status);
  }

  if (!failure.empty()) progress.ReportFailure(failure);
  out.LogLine(&target, ExportTypeInfo(kOpenFiles).log_name, !failure.empty(), failure);
}

}  // namespace tabulon

namespace tabulon {

ExporterUnit OpenFilesUnit() {
  static constexpr ExportType kTypes[] = {kOpenFiles};
  return {.name = "open files",
          .types = kTypes,
          .start = StartEnabledTypeRun<kOpenFiles, ExportOpenFileRows>};
}

}  // namespace tabulon
