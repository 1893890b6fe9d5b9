#pragma once
// Reads the text form of a security descriptor back into a descriptor and
// its self-relative bytes, the way the system's own conversion does: owner,
// group, DACL and SACL in any order, each at most once.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/security_descriptor.h"

namespace tabulon::format {

enum class SddlStatus : std::uint8_t {
  kOk,
  kBadPart,      // not "O:", "G:", "D:" or "S:", or a part given twice
  kBadSid,       // neither an alias nor a string SID
  kNoDomain,     // a domain-relative alias with no domain to resolve it
  kBadAclFlags,  // after "D:" or "S:"
  kBadAce,       // an ACE string's brackets, type, flags or field count
  kBadRights,    // neither codes nor a number
  kBadGuid,      // an object GUID not of the 8-4-4-4-12 hex form
  kTooLarge,     // an access list beyond 64 KiB
};

struct SddlParse {
  SddlStatus status = SddlStatus::kOk;
  std::size_t position = 0;  // where the text stops making sense
  SecurityDescriptor value;
  bool ok() const { return status == SddlStatus::kOk; }
};

// `domain` resolves the domain-relative aliases ("DA", "LA" ...).
SddlParse ReadSddl(std::string_view text, const std::optional<platform::Sid>& domain);

struct SddlBytes {
  SddlStatus status = SddlStatus::kOk;
  std::size_t position = 0;
  std::vector<std::uint8_t> bytes;
  bool ok() const { return status == SddlStatus::kOk; }
};

SddlBytes SddlToBytes(std::string_view text, const std::optional<platform::Sid>& domain);

// "bad ACE at character 17", for error messages.
std::string SddlErrorText(SddlStatus status, std::size_t position);

}  // namespace tabulon::format
