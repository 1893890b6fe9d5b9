#pragma once
// The security descriptors of named objects (files and directories,
// services, printers, registry keys, shares), after GetNamedSecurityInfoW:
// the parts the caller asks for, as the self-relative bytes Windows returns.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "platform/status.h"

namespace tabulon::platform {

// SE_OBJECT_TYPE, by the values the platform gives them.
enum class SeObjectType : std::uint32_t {
  kUnknown = 0,
  kFileObject = 1,
  kService = 2,
  kPrinter = 3,
  kRegistryKey = 4,
  kLmShare = 5,
};

// SECURITY_INFORMATION bits.
inline constexpr std::uint32_t kOwnerSecurityInformation = 0x1;
inline constexpr std::uint32_t kGroupSecurityInformation = 0x2;
inline constexpr std::uint32_t kDaclSecurityInformation = 0x4;
inline constexpr std::uint32_t kSaclSecurityInformation = 0x8;

struct NamedSecurityInfo {
  win::Status status = win::ERROR_SUCCESS;
  // Empty on success when the object has no descriptor (administrative
  // shares have none).
  std::vector<std::uint8_t> descriptor;
};

// The first part of a registry key's object name ("MACHINE\SOFTWARE\...")
// for a predefined key, and the key a first part names (with regard to case
// not minded); nothing for another.
std::string_view RegistryObjectRoot(RegistryKey hive);
std::optional<RegistryKey> RegistryHiveOfRoot(std::string_view root);

class ObjectSecurity {
 public:
  virtual ~ObjectSecurity() = default;
  // `object_name` as the call takes it: "\\server\share\dir", "\\server\svc",
  // "\\server\printer", "\\server\MACHINE\SOFTWARE\...".
  virtual NamedSecurityInfo GetNamedSecurityInfo(std::string_view object_name, SeObjectType type,
                                                 std::uint32_t security_information) = 0;
};

}  // namespace tabulon::platform
