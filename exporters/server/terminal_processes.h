#pragma once
#include "engine/run_context.h"

namespace tabulon {

// One Terminal Server Processes row per process of any session of the
// target, with the account name of the process's user.
void ExportTseProcessRows(ExportContext& context, const tagCObjects& target);

}  // namespace tabulon
