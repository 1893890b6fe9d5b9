#pragma once
// Dial-in permissions where no backend can reach them: the administration
// library is reported missing, so the users export leaves its dial-in
// columns unformatted, and a call made anyway fails with
// ERROR_NOT_SUPPORTED.
#include "platform/remote_access.h"

namespace tabulon::unsupported {

class UnsupportedRemoteAccess final : public platform::RemoteAccess {
 public:
  bool Available() override { return false; }
  platform::RasUserResult MprAdminUserGetInfo(std::string_view server, std::string_view user,
                                              std::uint32_t level) override;
  platform::RasUserResult RasAdminUserGetInfo(std::string_view server,
                                              std::string_view user) override;
};

}  // namespace tabulon::unsupported
