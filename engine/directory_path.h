#pragma once
// Turning a directory path into the name of its domain, and a domain name
// into its naming context.
#include <string>
#include <string_view>

namespace tabulon {

// "LDAP://srv/OU=Sales,DC=corp,DC=example" gives "CORP.EXAMPLE"; a path with
// no DC= part gives its text after "LDAP://", or the text itself.
std::string DomainNameOfPath(std::string_view path);

// Where a path's scheme and server part ends: the first "/" from its ninth
// character on (after "LDAP://" and at least one character); npos when the
// path names no server.
std::size_t EndOfServerPart(std::string_view path);

// "CORP.EXAMPLE" -> "DC=CORP,DC=EXAMPLE".
std::string DnOfDomainName(std::string_view domain);

}  // namespace tabulon
