// The LDIF reader: any bytes read or fail cleanly with the file and line;
// what reads has a DN for every entry and a name for every attribute.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "estate/ldif_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto result = tabulon::estate::ParseLdif(
      std::string_view(reinterpret_cast<const char*>(data), size), "f.ldif");
  if (!result.ok && (result.error.rfind("f.ldif:", 0) != 0 || !result.entries.empty())) {
    std::abort();
  }
  for (const auto& entry : result.entries) {
    for (const auto& attribute : entry.attributes) {
      if (attribute.name.empty() || attribute.values.empty()) std::abort();
    }
  }
  return 0;
}
