#pragma once
// One directory query for one directory target: the search below the
// target, one row per object found (or its member or group rows), photo
// files, the progress row and the log line.
#include <string>

#include "engine/configuration.h"
#include "engine/run_context.h"
#include "exporters/templates/directory/attribute_kinds.h"
#include "exporters/templates/directory/query_settings.h"
#include "exporters/templates/template_output.h"
#include "exporters/toolkit/last_logons.h"

namespace tabulon {

// What every query of a run shares.
struct DirectoryQueryShared {
  const Configuration& config;  // the run's configuration (photo settings)
  AttributeKindCache& kinds;
  // The logon values collected from every controller just before, which
  // replace the directory's own; null for a plain export.
  const LastLogonMap* consolidated = nullptr;
};

// The directory path a target's queries search below: a directory computer
// is reached by its host name, its directory entry is where it came from.
const std::string& DirectoryPathOf(const tagCObjects& target);

// Runs `query`, whose section of the template file `settings` holds.
// Returns false when the query failed (reported on its progress row and in
// the log).
bool ExportDirectoryQuery(ExportContext& context, const tagCObjects& target,
                          const PreparedTemplate& query, const DirectoryQuerySettings& settings,
                          DirectoryQueryShared& shared);

}  // namespace tabulon
