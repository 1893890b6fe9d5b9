#include "engine/security_handover.h"

namespace tabulon {

void HandToSecurityAccess(ExportContext& /*context*/, const tagCObjects& /*target*/,
                          const SecurityObject& /*object*/) {
  // The security access rows are written here once that export is built.
}

}  // namespace tabulon
