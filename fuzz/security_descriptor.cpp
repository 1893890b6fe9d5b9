// The self-relative security descriptor parser and the SDDL writer: any bytes
// parse or fail with a status, and a parsed descriptor writes one ACE string
// per ACE it holds. Read entry by entry, the unreadable DACL entries are
// ascending indexes into the list.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "format/sddl.h"
#include "format/security_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tabulon::format::DescriptorParse;
  const DescriptorParse each = tabulon::format::ParseSecurityDescriptor(
      {data, size}, tabulon::format::AceReading::kEachOnItsOwn);
  if (each.ok()) {
    const std::size_t entries = each.value.dacl ? each.value.dacl->aces.size() : 0;
    for (std::size_t i = 0; i < each.unreadable_dacl_entries.size(); ++i) {
      if (each.unreadable_dacl_entries[i] >= entries) std::abort();
      if (i > 0 && each.unreadable_dacl_entries[i] <= each.unreadable_dacl_entries[i - 1]) {
        std::abort();
      }
    }
  }
  const DescriptorParse parse = tabulon::format::ParseSecurityDescriptor({data, size});
  if (!parse.ok()) return 0;
  const std::string sddl = tabulon::format::SddlText(parse.value);
  std::size_t aces = 0;
  for (const auto* acl : {&parse.value.dacl, &parse.value.sacl}) {
    if (*acl) aces += (*acl)->aces.size();
  }
  if (static_cast<std::size_t>(std::count(sddl.begin(), sddl.end(), '(')) != aces) std::abort();
  return 0;
}
