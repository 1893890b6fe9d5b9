#pragma once
// Turning a directory path into the name of its domain.
#include <string>
#include <string_view>

namespace tabulon {

// "LDAP://srv/OU=Sales,DC=corp,DC=example" gives "CORP.EXAMPLE"; a path with
// no DC= part gives its text after "LDAP://", or the text itself.
std::string DomainNameOfPath(std::string_view path);

}  // namespace tabulon
