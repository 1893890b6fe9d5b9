#pragma once
// A user or computer query that asks for the logon values of every domain
// controller: the controllers of the target's domain are asked in turn,
// either collecting their values for one consolidated export of the target
// or each exported on its own.
#include "engine/run_context.h"
#include "exporters/templates/directory/query_export.h"
#include "exporters/templates/directory/query_settings.h"
#include "format/name_list.h"

namespace tabulon {

// Runs `query` for `target` as its settings say. `skip` is the computer
// skip list when controllers it names are left out.
void RunDirectoryQuery(ExportContext& context, const tagCObjects& target,
                       const PreparedTemplate& query, const DirectoryQuerySettings& settings,
                       DirectoryQueryShared& shared, const format::NameList* skip);

}  // namespace tabulon
