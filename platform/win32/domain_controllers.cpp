#include "platform/win32/domain_controllers.h"

#include "platform/win32/ldap_records.h"
#include "platform/win32/wide.h"

// After our headers: <windows.h> makes macros of ERROR_SUCCESS and the like.
#include <windows.h>

#include <dsgetdc.h>
#include <lm.h>
// The interface's method, not the header's A/W macro.
#undef DsGetDcName

namespace tabulon::platform::win32 {

DcInfoResult GetDcInfo(BoundedCalls& calls, std::string_view computer, std::string_view domain,
                       std::uint32_t flags) {
  return calls.Run<DcInfoResult>(
      [computer = ToWide(computer), domain = ToWide(domain), flags]() -> DcInfoResult {
        PDOMAIN_CONTROLLER_INFOW info = nullptr;
        DcInfoResult result;
        result.status =
            DsGetDcNameW(computer.empty() ? nullptr : computer.c_str(),
                         domain.empty() ? nullptr : domain.c_str(), nullptr, nullptr, flags, &info);
        // Success without a record would be an empty answer, not a controller.
        if (result.status == ERROR_SUCCESS && info == nullptr) {
          result.status = ERROR_NO_SUCH_DOMAIN;
        }
        if (info != nullptr) {
          if (result.status == ERROR_SUCCESS) result.info = ToDomainControllerInfo(*info);
          NetApiBufferFree(info);
        }
        return result;
      });
}

DcInfoResult Win32DirectoryService::DsGetDcName(std::string_view domain, std::uint32_t flags) {
  return GetDcInfo(calls_, domain.empty() ? std::string_view(target_) : std::string_view(), domain,
                   flags);
}

}  // namespace tabulon::platform::win32
