#pragma once
// The security descriptors of named objects through GetNamedSecurityInfoW,
// each call on the session's worker: the name goes to the API as the caller
// wrote it ("\\server\share\dir", "\\server\MACHINE\SOFTWARE\...").
#include <cstdint>
#include <string_view>

#include "platform/bounded_calls.h"
#include "platform/object_security.h"

namespace tabulon::platform::win32 {

// No self-relative descriptor is larger: two ACLs of 64 KiB, two SIDs.
inline constexpr std::uint32_t kMaxDescriptorBytes = 256 * 1024;

// The self-relative bytes of a descriptor the API returned: empty for none,
// ERROR_INVALID_SECURITY_DESCR for one that is not valid or too large.
NamedSecurityInfo DescriptorBytes(const void* descriptor);

class Win32ObjectSecurity final : public ObjectSecurity {
 public:
  explicit Win32ObjectSecurity(BoundedCalls& calls) : calls_(calls) {}

  NamedSecurityInfo GetNamedSecurityInfo(std::string_view object_name, SeObjectType type,
                                         std::uint32_t security_information) override;

 private:
  BoundedCalls& calls_;
};

}  // namespace tabulon::platform::win32
