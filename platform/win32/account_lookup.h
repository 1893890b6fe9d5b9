#pragma once
// Account lookups through LookupAccountSidW and LookupAccountNameW, each on
// the session's worker.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/bounded_calls.h"
#include "platform/security.h"

namespace tabulon::platform::win32 {

// A binary SID the API handed over, read no further than `size` bytes:
// nothing for null, a revision other than 1 or more than 15
// sub-authorities.
std::optional<Sid> SidFromNative(const void* sid, std::size_t size);
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
