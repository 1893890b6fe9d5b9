#pragma once
// GetNamedSecurityInfoW for the remote backend: each kind of object is asked
// of the family that serves it — services over svcctl, registry keys over
// winreg, printers over spoolss, shares at level 502 over srvsvc, files and folders over SMB.
#include "platform/object_security.h"
#include "platform/remote/remote_file_calls.h"
#include "platform/remote/remote_network.h"
#include "platform/remote/remote_printing.h"
#include "platform/remote/remote_registry.h"
#include "platform/remote/remote_service_control.h"

namespace tabulon::platform::remote {

struct SecurityFamilies {
  RemoteNetworkManagement& shares;
  RemoteServiceControl& services;
  RemoteRegistry& registry;
  RemotePrinting& printing;
  RemoteFileCalls* files;  // null: files answer ERROR_NOT_SUPPORTED
};

class RemoteObjectSecurity final : public ObjectSecurity {
 public:
  explicit RemoteObjectSecurity(SecurityFamilies families) : families_(families) {}

  // `object_name` is "\\SERVER\rest"; a name without a server is on this
  // computer, whose objects the remote backend does not reach
  // (ERROR_NOT_SUPPORTED).
  NamedSecurityInfo GetNamedSecurityInfo(std::string_view object_name, SeObjectType type,
                                         std::uint32_t security_information) override;

 private:
  SecurityFamilies families_;
};

}  // namespace tabulon::platform::remote
