#pragma once
// The domain controllers of a directory domain as DNS lists them: the SRV
// records "_ldap._tcp.dc._msdcs.<domain>", asked of the system's resolver,
// in the order RFC 2782 prefers them (lowest priority first, then highest
// weight; the same order every time, so that runs are repeatable).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/directory_search.h"

namespace tabulon::platform::ldap {

struct LocatedController {
  std::string host;
  std::uint16_t port = 389;
};

struct LocatedControllers {
  DirectoryStatus status;  // the HRESULT of ERROR_NO_SUCH_DOMAIN when none
  std::vector<LocatedController> controllers;
};

LocatedControllers LocateDomainControllers(std::string_view dns_domain);

}  // namespace tabulon::platform::ldap
