#pragma once
// Directory-service lookups. The domain-controller locator is used to find
// the flat name of a directory domain; searches come later.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace tabulon::platform {

inline constexpr std::uint32_t kDsDirectoryServiceRequired = 0x00000010;
inline constexpr std::uint32_t kDsPdcRequired = 0x00000080;
inline constexpr std::uint32_t kDsWritableRequired = 0x00001000;
inline constexpr std::uint32_t kDsForceRediscovery = 0x00000001;
inline constexpr std::uint32_t kDsReturnFlatName = 0x80000000;

// DOMAIN_CONTROLLER_INFOW.
struct DomainControllerInfo {
  std::string dc_name;      // "\\NAME"
  std::string dc_address;   // "\\192.0.2.1"
  std::string domain_name;  // flat or DNS name, as the flags ask
  std::string dns_forest_name;
};

struct DcInfoResult {
  win::Status status = win::ERROR_SUCCESS;
  DomainControllerInfo info;
};

class DirectoryService {
 public:
  virtual ~DirectoryService() = default;
  // DsGetDcName for `domain` with DS_* flags.
  virtual DcInfoResult DsGetDcName(std::string_view domain, std::uint32_t flags) = 0;
};

}  // namespace tabulon::platform
