#pragma once
// Ranged retrieval: a server with a limit on the values of one attribute
// (1,500 on a domain controller) returns the first slice of a long attribute
// as "member;range=0-1499"; the rest is read slice by slice by asking for
// "member;range=1500-*" until a slice ends in "*". Shared by the backends
// so that callers always see complete attributes.
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/directory_search.h"

namespace tabulon::platform {

struct AttributeRange {
  std::string_view attribute;  // the name without its options
  std::uint64_t low = 0;
  std::uint64_t high = 0;  // meaningless when `last`
  bool last = false;       // the range ended in "*"
};

// The range option of a returned attribute name, in any letter case; none
// when the name has no valid one.
std::optional<AttributeRange> ParseAttributeRange(std::string_view name);

// Reads the attribute `ranged_name` ("member;range=1500-*") of the object
// `dn`; `out` gets the slice the server returned, under the name it used.
using RangeFetch = std::function<DirectoryStatus(std::string_view dn, std::string_view ranged_name,
                                                 DirectoryAttribute& out)>;

// Completes every ranged attribute of `entry` and gives it its plain name.
DirectoryStatus CompleteRanges(DirectoryEntry& entry, const RangeFetch& fetch);

}  // namespace tabulon::platform
