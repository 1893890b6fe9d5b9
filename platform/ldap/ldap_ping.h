#pragma once
// DsGetDcName for a directory domain as a Windows client answers it: the
// controllers the domain's DNS SRV records name, asked in turn with an LDAP
// ping (an anonymous search of the root DSE for its "Netlogon" attribute);
// the first that answers and has what the flags require is the one. The
// ping needs no logon, so a controller is found even where an authenticated
// connection to it would fail.
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/cancel.h"
#include "platform/directory.h"

namespace tabulon::platform::ldap {

// What a controller says of itself in its answer to a ping
// (NETLOGON_SAM_LOGON_RESPONSE_EX).
struct PingReply {
  std::uint32_t flags = 0;  // DS_*_FLAG
  std::string dns_forest;
  std::string dns_domain;
  std::string dns_host;
  std::string netbios_domain;
  std::string netbios_computer;
};

// The search filter of a ping for `dns_domain`, asking for the extended
// answer (NtVer 5 and 5EX).
std::string PingFilter(std::string_view dns_domain);

// Reads the "Netlogon" value of a ping; false for anything that is not a
// well-formed extended answer.
bool DecodePingReply(std::string_view bytes, PingReply& out);

// The controller of `dns_domain` for the DS_* `flags` (directory service,
// writable, primary required; the flat domain name with
// DS_RETURN_FLAT_NAME). ERROR_NO_SUCH_DOMAIN when DNS names none or none
// that answers has what the flags require.
DcInfoResult PingDomainController(std::string_view dns_domain, std::uint32_t flags,
                                  const CancelToken& cancel, std::chrono::milliseconds timeout);

}  // namespace tabulon::platform::ldap
