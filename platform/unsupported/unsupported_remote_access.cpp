#include "platform/unsupported/unsupported_remote_access.h"

#include "platform/unsupported/refused.h"

namespace tabulon::unsupported {

platform::RasUserResult UnsupportedRemoteAccess::MprAdminUserGetInfo(std::string_view,
                                                                     std::string_view,
                                                                     std::uint32_t) {
  return NotSupported<platform::RasUserResult>();
}

platform::RasUserResult UnsupportedRemoteAccess::RasAdminUserGetInfo(std::string_view,
                                                                     std::string_view) {
  return NotSupported<platform::RasUserResult>();
}

}  // namespace tabulon::unsupported
