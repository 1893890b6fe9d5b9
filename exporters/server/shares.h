#pragma once
#include "engine/run_context.h"

namespace tabulon {

// Shares and share connections of the target from one pass over its share
// list, which also hands the selected shares and their folders to the
// security access export. Runs when any of the three wants the list.
void ExportShareRows(ExportContext& context, const tagCObjects& target);

}  // namespace tabulon
