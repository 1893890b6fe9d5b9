#pragma once
// One directory query for one directory target: the search below the
// target, one row per object found (or its member or group rows), photo
// files, the progress row and the log line.
#include <string>

#include "engine/configuration.h"
#include "engine/run_context.h"
#include "templates/directory/attribute_kinds.h"
#include "templates/template_output.h"

namespace tabulon {

// What every query of a run shares.
struct DirectoryQueryShared {
  const Configuration& queries;  // the directory query file
  const Configuration& config;   // the run's configuration (photo settings)
  AttributeKindCache& kinds;
};

// Returns false when the query failed (reported on its progress row and in
// the log).
bool ExportDirectoryQuery(ExportContext& context, const tagCObjects& target,
                          const PreparedTemplate& query, DirectoryQueryShared& shared);

}  // namespace tabulon
