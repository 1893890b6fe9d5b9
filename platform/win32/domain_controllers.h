#pragma once
// The DC locator natively: DsGetDcNameW, on the session's worker thread
// (it takes no time-out and may wait on DNS and a controller's answer).
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/bounded_calls.h"
#include "platform/directory.h"

namespace tabulon::platform::win32 {

// DsGetDcNameW on `computer` (empty: this one) for `domain` (empty: the
// computer's own).
DcInfoResult GetDcInfo(BoundedCalls& calls, std::string_view computer, std::string_view domain,
                       std::uint32_t flags);

// A named domain is located here, as a Windows client does (DNS and an LDAP
// ping of its controllers); the session's computer answers for its own
// domain.
class Win32DirectoryService final : public DirectoryService {
 public:
  Win32DirectoryService(BoundedCalls& calls, std::string_view target)
      : calls_(calls), target_(target) {}
  DcInfoResult DsGetDcName(std::string_view domain, std::uint32_t flags) override;

 private:
  BoundedCalls& calls_;
  const std::string target_;
};

}  // namespace tabulon::platform::win32
