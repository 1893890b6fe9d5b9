#pragma once
// Directory searches on OpenLDAP's client library: ldap:// with optional
// StartTLS, ldaps://, a CA file; simple, SASL GSSAPI (the caller's Kerberos
// tickets) or anonymous binds; paged results; referrals off; a network
// timeout on connect and an idle timeout on every operation; the session's
// cancel token abandons the operation in flight.
#include <memory>

#include "platform/directory_search.h"
#include "platform/session.h"

namespace tabulon::platform::ldap {

std::unique_ptr<DirectorySearch> MakeLdapDirectorySearch(const SessionOptions& session);

}  // namespace tabulon::platform::ldap
