#pragma once
// What a bind sends as the user's name, and what a refused or failed bind
// says: the ways out of a refused password, the name a server refused, and
// the Kerberos failures a Windows caller knows by their statuses.
#include <string>
#include <string_view>

#include "platform/credentials.h"
#include "platform/directory_search.h"

namespace tabulon::platform::ldap {

// The bind name of a password logon: a DN or user@domain as given, else
// DOMAIN\user or user@dns.domain.
std::string SimpleBindName(const Credentials& credentials);

// A simple bind with a password to `url`, which TLS does not protect:
// refused before anything is sent, naming the server and the ways out.
DirectoryStatus ClearPasswordRefused(std::string_view url, std::string_view name);

// The server's words on a refused simple bind, with the name that was sent
// (never the password) and, for a name that is not a DN, what a server that
// is not a domain controller expects instead.
std::string RefusedBindText(std::string_view diagnostic, std::string_view name);

// A failed SASL GSSAPI bind (`result_code` as the protocol numbers it):
// no usable ticket is ERROR_NO_SUCH_LOGON_SESSION, no reachable KDC
// ERROR_NO_LOGON_SERVERS, a server that takes no Kerberos logons
// ERROR_DS_AUTH_METHOD_NOT_SUPPORTED; anything else the LDAP result.
DirectoryStatus KerberosBindFailure(int result_code, std::string_view diagnostic);

}  // namespace tabulon::platform::ldap
