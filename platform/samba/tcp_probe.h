#pragma once
// Whether a server accepts TCP connections on a port, found with our own
// connect and timeout before the client library (whose connect timer cannot
// be set) is let near it.
#include <chrono>
#include <cstdint>
#include <string>

#include "platform/cancel.h"
#include "platform/status.h"

namespace tabulon::platform::samba {

// ERROR_SUCCESS when some address of `host` accepted a connection before
// `deadline`; ERROR_CANCELLED as soon as the token is set; otherwise
// ERROR_BAD_NETPATH, as a Windows client reports a server it cannot reach
// (name unknown, connection refused, no route, or no answer in time).
win::Status ProbeTcp(const std::string& host, std::uint16_t port,
                     std::chrono::steady_clock::time_point deadline, const CancelToken& cancel);

}  // namespace tabulon::platform::samba
