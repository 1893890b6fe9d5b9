#pragma once
// Why a TLS connection to a directory server failed, in the words the client
// library does not give ("(unknown error code)"): nothing answers, the
// handshake itself failed, the server's certificate does not name the host,
// or the trusted authorities do not vouch for it.
#include <chrono>
#include <string>

namespace tabulon::platform::ldap {

// Looks again at the server of `url` (through StartTLS when `start_tls`):
// once without TLS, once with TLS without verifying, and then checks the
// certificate it got against the host name and the authorities of `ca_file`
// (empty: the system's). Empty when it finds nothing wrong with TLS.
std::string DiagnoseTls(const std::string& url, bool start_tls, const std::string& ca_file,
                        std::chrono::milliseconds timeout);

}  // namespace tabulon::platform::ldap
