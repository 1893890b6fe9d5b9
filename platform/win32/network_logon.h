#pragma once
// Who a session's calls are to other computers. Without a user name, the
// user running the program, as every Windows administration tool does (and
// with their Kerberos tickets when the credentials ask for those). With a
// user name and password, a logon token whose network identity is that
// account while the program keeps its own for local access: the account is
// proved to each server by Negotiate (Kerberos or NTLM), so the password
// never crosses the wire, and it is wiped here as soon as the token holds
// it.
//
// A session's worker thread impersonates the token for every call and
// joins COM's multi-threaded apartment, the one the COM families need.
#include <memory>

#include "platform/bounded_calls.h"
#include "platform/credentials.h"
#include "platform/status.h"

namespace tabulon::platform::win32 {

class Handle;

struct NetworkLogon {
  win::Status status = win::ERROR_SUCCESS;
  // Null when the calls go as the program's user.
  std::shared_ptr<Handle> token;
};

NetworkLogon LogOnForNetwork(const Credentials& credentials);

// The worker scope of a session that logged on with `logon`: a failed logon
// fails every call with its status.
WorkerScope SessionWorkerScope(NetworkLogon logon);

}  // namespace tabulon::platform::win32
