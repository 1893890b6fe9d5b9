#pragma once
// Security descriptors where no backend can read them: every query fails
// with ERROR_NOT_SUPPORTED, so the security access export writes its "ERROR"
// row instead of an empty access list.
#include "platform/object_security.h"

namespace tabulon::unsupported {

class UnsupportedObjectSecurity final : public platform::ObjectSecurity {
 public:
  platform::NamedSecurityInfo GetNamedSecurityInfo(std::string_view object_name,
                                                   platform::SeObjectType type,
                                                   std::uint32_t security_information) override;
};

}  // namespace tabulon::unsupported
