#pragma once
// SIDs the Windows API hands over, as the platform's values: one reader for
// every family.
#include <cstddef>
#include <optional>

#include "platform/security.h"

namespace tabulon::platform::win32 {

// A binary SID read no further than `size` bytes: nothing for null, a
// revision other than 1 or more than 15 sub-authorities.
std::optional<Sid> SidFromNative(const void* sid, std::size_t size);
// A SID the API handed over without its size: nothing for null or one that
// IsValidSid refuses, else read within the length it states.
std::optional<Sid> SidOf(const void* sid);

}  // namespace tabulon::platform::win32
