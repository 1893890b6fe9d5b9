#pragma once
// The caller's Kerberos ticket cache (KRB5CCNAME, else the system's
// default), as the client libraries see it.
#include <chrono>
#include <string>

namespace tabulon::platform::samba {

// The principal ("user@REALM") whose tickets the cache holds, when the
// libraries can use them (a ticket valid for some minutes yet); empty when
// there are none. It calls the client libraries in this process: the worker
// uses it.
std::string UsableTicketPrincipal();

// The same, found in a short-lived child process, so that the calling
// process never loads the libraries' state; empty as well when the child
// does not answer within `limit`.
std::string FindTicketCache(std::chrono::milliseconds limit);

}  // namespace tabulon::platform::samba
