#include "platform/unsupported/unsupported_remote_access.h"

namespace tabulon::unsupported {
namespace {

platform::RasUserResult NotSupported() {
  platform::RasUserResult result;
  result.status = win::ERROR_NOT_SUPPORTED;
  return result;
}

}  // namespace

platform::RasUserResult UnsupportedRemoteAccess::MprAdminUserGetInfo(std::string_view,
                                                                     std::string_view,
                                                                     std::uint32_t) {
  return NotSupported();
}

platform::RasUserResult UnsupportedRemoteAccess::RasAdminUserGetInfo(std::string_view,
                                                                     std::string_view) {
  return NotSupported();
}

}  // namespace tabulon::unsupported
