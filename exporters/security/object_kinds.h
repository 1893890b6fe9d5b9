#pragma once
// What the security access export writes and asks for per kind of object.
#include <string_view>

#include "engine/security_handover.h"
#include "exporters/security/access_rights.h"
#include "platform/object_security.h"

namespace tabulon {

struct SecurityKindInfo {
  SecurityObjectKind kind;
  std::string_view text;        // SecurityObjectType
  platform::SeObjectType type;  // what the descriptor query takes
  RightsKind rights;
};

const SecurityKindInfo& KindInfo(SecurityObjectKind kind);

}  // namespace tabulon
