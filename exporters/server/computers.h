#pragma once
#include "engine/run_context.h"

namespace tabulon {

// One Computers row from the target's server information.
void ExportComputerRow(ExportContext& context, const tagCObjects& target);

}  // namespace tabulon
