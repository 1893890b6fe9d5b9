#pragma once
// The rows of one object of the security access export: its owner and the
// entries of its discretionary access list, or one status row.
#include "engine/run_context.h"
#include "format/name_list.h"

namespace tabulon {

struct AccessRowOptions {
  bool owner = false;  // an owner row before the entries
  // Only rows whose trustee matches are written; status rows always are.
  // Empty: every row.
  const format::NameList* trustees = nullptr;
};

// `special_share`: an administrative share, whose missing descriptor is
// "NO_SD_ADMIN_ONLY".
void ExportObjectSecurity(ExportContext& context, const tagCObjects& target,
                          const SecurityObject& object, bool special_share,
                          const AccessRowOptions& options);

}  // namespace tabulon
