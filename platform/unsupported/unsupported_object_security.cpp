#include "platform/unsupported/unsupported_object_security.h"

#include "platform/unsupported/refused.h"

namespace tabulon::unsupported {

platform::NamedSecurityInfo UnsupportedObjectSecurity::GetNamedSecurityInfo(std::string_view,
                                                                            platform::SeObjectType,
                                                                            std::uint32_t) {
  return NotSupported<platform::NamedSecurityInfo>();
}

}  // namespace tabulon::unsupported
