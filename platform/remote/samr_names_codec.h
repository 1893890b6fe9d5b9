#pragma once
// Translating account names to RIDs inside an open domain of the account
// database (SamrLookupNamesInDomain). Statuses as in samr_codec.h.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/remote/account_codec_support.h"
#include "platform/security.h"

namespace tabulon::platform::remote::samr {

// A translated name: its RID and use (kUnknown when the domain has none).
struct NameLookup {
  std::uint32_t rid = 0;
  SidNameUse use = SidNameUse::kNone;
};

struct LookupNamesReply {
  // STATUS_SOME_NOT_MAPPED is success (the unmapped entries say so by their
  // use); none mapped is ERROR_NONE_MAPPED.
  win::Status status = win::ERROR_SUCCESS;
  std::vector<NameLookup> entries;
};

// At most kMaxLookupIds names.
std::vector<std::uint8_t> EncodeLookupNames(const ndr::ContextHandle& domain,
                                            std::span<const std::string> names);
LookupNamesReply DecodeLookupNames(std::span<const std::uint8_t> stub);

}  // namespace tabulon::platform::remote::samr
