#include "exporters/toolkit/export_progress.h"

#include <string>

namespace tabulon {
ExportProgress::ExportProgress(RunOutput& output, const tagCObjects& target,
                               std::string_view start_text, ProgressKind kind, std::uint32_t indent)
    : output_(output), target_(target), verbose_(output.settings().verbose_progress) {
  if (verbose_) start_row_ = output_.AddProgressRow(target_.display_name, start_text, indent, kind);
}

void ExportProgress::ReportFailure(std::string_view message) {
  // Without a window there is no start row to append to.
  if (verbose_ && start_row_ >= 0) {
    output_.AppendProgress(start_row_, message, kFailureImage);
  } else {
    output_.AddProgressRow(target_.display_name, message, 1, ProgressKind::kFailure);
  }
}

void ReportRowFailure(RunOutput& output, int row, std::string_view name, std::string_view announced,
                      std::string_view failure, std::uint32_t indent) {
  if (row >= 0) {
    output.AppendProgress(row, failure, kFailureImage);
  } else {
    output.AddProgressRow(name, std::string(announced) + std::string(failure), indent,
                          ProgressKind::kFailure);
  }
}

}  // namespace tabulon
