#pragma once
// Account lookups through LookupAccountSidW and LookupAccountNameW, each on
// the session's worker.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/bounded_calls.h"
#include "platform/security.h"
#include "platform/win32/native_sid.h"

namespace tabulon::platform::win32 {

// SID_NAME_USE as the platform's; kUnknown for a value it does not know.
SidNameUse NameUseOf(int use);

class Win32AccountLookup final : public AccountLookup {
 public:
  explicit Win32AccountLookup(BoundedCalls& calls) : calls_(calls) {}

  AccountOfSid LookupAccountSid(std::string_view system, const Sid& sid) override;
  SidOfAccount LookupAccountName(std::string_view system, std::string_view account,
                                 std::uint32_t sid_buffer_size) override;

 private:
  BoundedCalls& calls_;
};

}  // namespace tabulon::platform::win32
