#pragma once
#include "engine/run_context.h"

namespace tabulon {

// One Open Files row per file of the target opened over the network.
void ExportOpenFileRows(ExportContext& context, const tagCObjects& target);

}  // namespace tabulon
