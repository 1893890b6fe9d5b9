#include "platform/win32/object_security.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <aclapi.h>

#include <string>
#include <vector>

#include "platform/win32/last_error.h"
#include "platform/win32/wide.h"

// The interface's method name, which <aclapi.h> takes for its A/W macro.
#undef GetNamedSecurityInfo

namespace tabulon::platform::win32 {
namespace {

// Frees what the API allocated on every path.
struct LocalMemory {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ~LocalMemory() {
    if (descriptor != nullptr) ::LocalFree(descriptor);
  }
};

}  // namespace

NamedSecurityInfo DescriptorBytes(const void* descriptor) {
  NamedSecurityInfo info;
  if (descriptor == nullptr) return info;
  auto* native = const_cast<void*>(descriptor);  // the API takes no const descriptor
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  if (!::IsValidSecurityDescriptor(native) ||
      !::GetSecurityDescriptorControl(native, &control, &revision)) {
    info.status = ERROR_INVALID_SECURITY_DESCR;
    return info;
  }
  DWORD size = 0;
  if (control & SE_SELF_RELATIVE) {
    size = ::GetSecurityDescriptorLength(native);
    if (size == 0 || size > kMaxDescriptorBytes) {
      info.status = ERROR_INVALID_SECURITY_DESCR;
      return info;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(descriptor);
    info.descriptor.assign(bytes, bytes + size);
    return info;
  }
  // An absolute descriptor is made self-relative, sized by a first call.
  ::MakeSelfRelativeSD(native, nullptr, &size);
  if (size == 0 || size > kMaxDescriptorBytes) {
    info.status = ERROR_INVALID_SECURITY_DESCR;
    return info;
  }
  info.descriptor.resize(size);
  if (!::MakeSelfRelativeSD(native, info.descriptor.data(), &size)) {
    info.status = FailureStatus();
    info.descriptor.clear();
  }
  return info;
}

NamedSecurityInfo Win32ObjectSecurity::GetNamedSecurityInfo(std::string_view object_name,
                                                            SeObjectType type,
                                                            std::uint32_t security_information) {
  // The platform's numbers are SE_OBJECT_TYPE's.
  if (type == SeObjectType::kUnknown || type > SeObjectType::kLmShare) {
    return {ERROR_INVALID_PARAMETER, {}};
  }
  return calls_.Run<NamedSecurityInfo>(
      [name = std::string(object_name), type, security_information] {
        LocalMemory memory;
        const DWORD status = ::GetNamedSecurityInfoW(
            ToWide(name).c_str(), static_cast<SE_OBJECT_TYPE>(type), security_information, nullptr,
            nullptr, nullptr, nullptr, &memory.descriptor);
        if (status != ERROR_SUCCESS) return NamedSecurityInfo{status, {}};
        return DescriptorBytes(memory.descriptor);
      });
}

}  // namespace tabulon::platform::win32
