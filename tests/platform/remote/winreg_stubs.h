#pragma once
// Remote registry response stubs built by hand, field by field, with the
// Stub builder of sample_stubs.h.
#include <cstdint>
#include <vector>

namespace tabulon::platform::remote::testing {

std::vector<std::uint8_t> RegQueryValueReply();          // REG_SZ "Hi"
std::vector<std::uint8_t> RegQueryValueMoreDataReply();  // 300 bytes needed
std::vector<std::uint8_t> RegEnumKeyReply();             // "NetBT", no class
std::vector<std::uint8_t> RegEnumValueReply();           // "Domain", DWORD 1
std::vector<std::uint8_t> RegQueryInfoKeyReply();

}  // namespace tabulon::platform::remote::testing
