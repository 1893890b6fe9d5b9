#pragma once
// Directory searches on OpenLDAP's client library: ldap:// with optional
// StartTLS, ldaps://, a CA file; simple binds (a password only over TLS),
// SASL GSSAPI (the caller's Kerberos tickets) or anonymous binds; paged
// results; referrals off; a network timeout on connect and an idle timeout
// on every operation; the session's cancel token abandons the operation in
// flight. A search in progress has its connection to itself: what is asked
// meanwhile goes over a second connection to the same server.
#include <memory>

#include "platform/directory_search.h"
#include "platform/session.h"

namespace tabulon::platform::ldap {

std::unique_ptr<DirectorySearch> MakeLdapDirectorySearch(const SessionOptions& session);

}  // namespace tabulon::platform::ldap
