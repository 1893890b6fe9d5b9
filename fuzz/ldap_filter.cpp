// The LDAP filter parser and evaluator: any text parses or is refused with a
// reason, and a parsed filter evaluates against an entry without fault.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "estate/ldap_filter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tabulon::estate::FilterParse;
  using tabulon::platform::DirectoryValueKind;
  const FilterParse parsed =
      tabulon::estate::ParseFilter(std::string_view(reinterpret_cast<const char*>(data), size));
  if (parsed.outcome != FilterParse::Outcome::kOk) {
    if (parsed.error.empty()) std::abort();
    return 0;
  }
  static const tabulon::platform::DirectoryEntry entry{
      "CN=A,DC=x",
      {{"cn", DirectoryValueKind::kUnknown, {"A b", "c"}},
       {"n", DirectoryValueKind::kUnknown, {"-12", "x"}},
       {"o", DirectoryValueKind::kUnknown, {std::string("\0\xFF", 2)}},
       {"objectCategory", DirectoryValueKind::kUnknown, {"CN=Person,DC=x"}}}};
  static const tabulon::platform::AttributeKinds kinds = {{"n", DirectoryValueKind::kInteger},
                                                          {"o", DirectoryValueKind::kOctetString}};
  tabulon::estate::MatchesFilter(parsed.root, entry, kinds);
  return 0;
}
