#pragma once
// Access masks as named rights, per kind of object, so that the export can
// be read without the platform's bit values.
#include <cstdint>
#include <string>
#include <string_view>

namespace tabulon {

enum class RightsKind : std::uint8_t { kPrinter, kService, kRegistry, kFile, kDirectory, kShare };

// The names of the rights in `mask`, joined with `delimiter` in table order;
// just "FULL_CONTROL" when the mask is the kind's full control. Empty when
// no name applies. Shares have no names, only ShareAccess.
std::string RightNames(RightsKind kind, std::uint32_t mask, std::string_view delimiter);

// One value per share entry: "NONE", "FULL_CONTROL", "CHANGE" or "READ".
std::string_view ShareAccess(bool deny, std::uint32_t mask);

// A directory entry's inheritance flags, joined with `delimiter`.
std::string InheritanceFlagNames(std::uint8_t flags, std::string_view delimiter);

struct FileAccessSummary {
  std::string_view summary;  // "FULL_CONTROL", "READ", "CHANGE" or "SPECIAL"
  std::string flags;         // letters of "RWXDPO"
};
FileAccessSummary SummariseFileAccess(std::uint32_t mask);

}  // namespace tabulon
