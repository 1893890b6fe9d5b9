#pragma once
// The "AT" half of the pre-Vista export: the jobs of the schedule service.
#include <string>

#include "engine/run_context.h"

namespace tabulon {

// `computer` is "\\NAME". Writes the rows, reports and logs under JOBS.
void ExportAtJobRows(ExportContext& context, const tagCObjects& target,
                     const std::string& computer);

}  // namespace tabulon
