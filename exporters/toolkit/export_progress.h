#pragma once
// The progress pattern most per-target exports share: a start row when
// verbose progress is on, and a failure message that goes onto that row
// with the failure image, or onto a row of its own otherwise.
#include <cstdint>
#include <string_view>

#include "engine/run_output.h"
#include "engine/target.h"

namespace tabulon {

class ExportProgress {
 public:
  // Adds the start row (`indent`, `kind`) when verbose progress is on.
  ExportProgress(RunOutput& output, const tagCObjects& target, std::string_view start_text,
                 ProgressKind kind, std::uint32_t indent = 1);
  ExportProgress(const ExportProgress&) = delete;
  ExportProgress& operator=(const ExportProgress&) = delete;

  void ReportFailure(std::string_view message);

 private:
  RunOutput& output_;
  const tagCObjects& target_;
  bool verbose_;
  int start_row_ = -1;
};

// The failure of the work a progress row announced (`announced`, the row
// `row` of `name`): appended to that row in a window; without a window, a
// failure row of its own with the announcement in front, which an
// unattended run prints on standard error.
void ReportRowFailure(RunOutput& output, int row, std::string_view name, std::string_view announced,
                      std::string_view failure, std::uint32_t indent);

}  // namespace tabulon
