#include "format/accounts.h"

#include <cstdint>

#include "format/special_values.h"

namespace tabulon::format {
namespace {

constexpr std::uint32_t kInitialSidBufferBytes = 128;

ResolvedSid FromLookup(const platform::AccountOfSid& found) {
  ResolvedSid out;
  out.status = found.status;
  out.use = found.use;
  if (out.ok()) {
    out.name = found.name;
    out.domain = found.domain;
  }
  return out;
}

}  // namespace

ResolvedSid ResolveSid(platform::AccountLookup& accounts, std::string_view computer,
                       const platform::Sid& sid) {
  ResolvedSid result = FromLookup(accounts.LookupAccountSid(computer, sid));
  // Accounts of trusted domains are often known only to the local computer.
  if (!result.ok()) result = FromLookup(accounts.LookupAccountSid("", sid));
  return result;
}

ResolvedAccount ResolveAccountName(platform::AccountLookup& accounts, std::string_view computer,
                                   std::string_view account) {
  std::uint32_t buffer_size = kInitialSidBufferBytes;
  while (true) {
    const platform::SidOfAccount found = accounts.LookupAccountName(computer, account, buffer_size);
    if (found.status == win::ERROR_SUCCESS) return ResolvedAccount{found.status, found.sid};
    // A size that does not grow would repeat the same failure forever.
    if (found.status != win::ERROR_INSUFFICIENT_BUFFER || found.required_sid_size <= buffer_size) {
      return ResolvedAccount{found.status, {}};
    }
    buffer_size = found.required_sid_size;
  }
}

bool SidStringToAccount(platform::AccountLookup& accounts, std::string_view computer,
                        std::string& text) {
  const auto sid = platform::Sid::Parse(text);
  if (!sid) return false;
  const ResolvedSid resolved = ResolveSid(accounts, computer, *sid);
  if (!resolved.ok()) return false;
  text = resolved.domain + "\\" + resolved.name;
  return true;
}

std::string AccountSidString(platform::AccountLookup& accounts, std::string_view computer,
                             std::string_view account, const FormatSettings& settings) {
  if (settings.local_major_version < 5) return std::string(kNoFormat);
  const ResolvedAccount resolved = ResolveAccountName(accounts, computer, account);
  if (!resolved.ok()) return std::string(kError);
  return resolved.sid.ToString();
}

}  // namespace tabulon::format
