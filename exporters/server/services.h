#pragma once
#include "engine/run_context.h"

namespace tabulon {

// One Services row per service of the target, in the order the service
// manager returns them. Also runs when only service security is wanted; the
// Services file is then not open and no rows are written.
void ExportServiceRows(ExportContext& context, const tagCObjects& target);

}  // namespace tabulon
