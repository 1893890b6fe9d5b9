#pragma once
// Account names and SIDs looked up on the target computer. An empty computer
// name means the local computer.
#include <string>
#include <string_view>

#include "format/settings.h"
#include "platform/security.h"
#include "platform/status.h"

namespace tabulon::format {

struct ResolvedSid {
  win::Status status = win::ERROR_SUCCESS;
  std::string name;    // set only on success
  std::string domain;  // set only on success
  platform::SidNameUse use = platform::SidNameUse::kNone;
  bool ok() const { return status == win::ERROR_SUCCESS; }
};

struct ResolvedAccount {
  win::Status status = win::ERROR_SUCCESS;
  platform::Sid sid;  // set only on success
  bool ok() const { return status == win::ERROR_SUCCESS; }
};

// Asks `computer` first and, when that fails, the local computer; the status
// and use are those of the last attempt.
ResolvedSid ResolveSid(platform::AccountLookup& accounts, std::string_view computer,
                       const platform::Sid& sid);

// Starts with a 128-byte SID buffer and grows it to the size the lookup asks
// for as long as it reports ERROR_INSUFFICIENT_BUFFER with a larger size.
ResolvedAccount ResolveAccountName(platform::AccountLookup& accounts, std::string_view computer,
                                   std::string_view account);

// Replaces a string SID by "domain\name" when it parses and resolves; leaves
// the text alone and returns false otherwise.
bool SidStringToAccount(platform::AccountLookup& accounts, std::string_view computer,
                        std::string& text);

// The string SID of an account: "NO_FORMAT" when the local OS is older than
// major version 5, "ERROR" when the account does not resolve.
std::string AccountSidString(platform::AccountLookup& accounts, std::string_view computer,
                             std::string_view account, const FormatSettings& settings);

}  // namespace tabulon::format
