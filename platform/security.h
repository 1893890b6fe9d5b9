#pragma once
// Security identifiers and account lookups on a computer, after the advapi32
// account functions.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tabulon::platform {

enum class SidNameUse : int {
  kNone = 0,
  kUser = 1,
  kGroup = 2,
  kDomain = 3,
  kAlias = 4,
  kWellKnownGroup = 5,
  kDeletedAccount = 6,
  kInvalid = 7,
  kUnknown = 8,
  kComputer = 9,
  kLabel = 10,
};

struct Sid {
  std::uint8_t revision = 1;
  std::uint64_t authority = 0;  // 48 bits
  std::vector<std::uint32_t> sub_authorities;

  // "S-1-5-21-..." as ConvertSidToStringSid writes it.
  std::string ToString() const;
  // ConvertStringSidToSid: "S-R-A-S1-..." with at most 15 sub-authorities;
  // the authority may be written in hexadecimal ("0x..."). Nothing when the
  // text is not a SID.
  static std::optional<Sid> Parse(std::string_view text);
  // Size of the binary form: 8 bytes and 4 per sub-authority.
  std::uint32_t ByteSize() const;
  // The binary form (revision, count, big-endian authority, little-endian
  // sub-authorities) added to `out`.
  void AppendBytes(std::vector<std::uint8_t>& out) const;
  bool operator==(const Sid&) const = default;
};

struct AccountOfSid {
  win::Status status = win::ERROR_SUCCESS;
  std::string name;
  std::string domain;
  SidNameUse use = SidNameUse::kNone;
};

struct SidOfAccount {
  win::Status status = win::ERROR_SUCCESS;
  Sid sid;
  // With ERROR_INSUFFICIENT_BUFFER: the SID buffer size the call needs.
  std::uint32_t required_sid_size = 0;
  std::string domain;
  SidNameUse use = SidNameUse::kNone;
};

class AccountLookup {
 public:
  virtual ~AccountLookup() = default;
  // LookupAccountSid on `system` (empty: the local computer).
  virtual AccountOfSid LookupAccountSid(std::string_view system, const Sid& sid) = 0;
  // LookupAccountName with a SID buffer of `sid_buffer_size` bytes; fails
  // with ERROR_INSUFFICIENT_BUFFER and the needed size when it is too small.
  virtual SidOfAccount LookupAccountName(std::string_view system, std::string_view account,
                                         std::uint32_t sid_buffer_size) = 0;
};

}  // namespace tabulon::platform
