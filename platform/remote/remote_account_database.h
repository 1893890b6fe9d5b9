#pragma once
// The machine accounts of a server's account database over the samr
// interface, paged as NetQueryDisplayInformation level 2 pages them.
#include <cstdint>
#include <string_view>

#include "platform/netapi.h"
#include "platform/remote/rpc_transport.h"

namespace tabulon::platform::remote {

// Connects to the database on `host` (`server` is the name sent, empty for
// none), opens its account domain (the one that is not the built-in
// domain), reads one page from `index` and closes what it opened: the
// listing keeps no state between pages, as the index says where to go on.
DisplayMachinesResult QueryDisplayMachines(RpcTransport& transport, std::string_view host,
                                           std::string_view server, std::uint32_t index,
                                           std::uint32_t entries_requested,
                                           std::uint32_t preferred_max_length);

}  // namespace tabulon::platform::remote
