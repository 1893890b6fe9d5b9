#include "exporters/server/open_files.h"

#include "engine/error_text.h"
#include "engine/messages.h"
#include "exporters/server/decimal.h"
#include "exporters/server/export_progress.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kOpenFilesKind = 69;

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
  TypedOutput& file = context.files.of(kOpenFiles);
  ExportProgress progress(out, target, "Exporting Open Files...", kOpenFilesKind);

  std::string failure;
  std::uint32_t resume = 0;
  while (true) {
    const platform::FileEnumResult page = context.platform.net->NetFileEnum3(
        target.path, "", "", platform::kMaxPreferredLength, resume);
    if (page.status != win::ERROR_SUCCESS && page.status != win::ERROR_MORE_DATA) {
      failure = FillMessage("Error getting open files on '%s'. ", {target.path}) +
                WindowsErrorText(page.status);
      break;
    }
    for (const platform::FileInfo3& open : page.entries) {
      out.value(kUser) = open.username;
      out.value(kPath) = open.pathname;
      out.value(kId) = DecimalText(open.id);
      out.value(kPermissions) = DecimalText(open.permissions);
      out.value(kLocks) = DecimalText(open.num_locks);
      out.WriteTypedRow(&target, file, true);
    }
    if (page.entries.empty() || page.resume_handle == 0) break;
    resume = page.resume_handle;
  }

  if (!failure.empty()) progress.ReportFailure(failure);
  out.LogLine(&target, ExportTypeInfo(kOpenFiles).log_name, !failure.empty(), failure);
}

}  // namespace tabulon
