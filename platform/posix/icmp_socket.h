#pragma once
// ICMP echo through Linux sockets: the raw method with a raw IPv4 socket, the
// system method with the unprivileged ICMP datagram socket.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "platform/icmp.h"
#include "platform/posix/icmp_packet.h"
#include "platform/time.h"

namespace tabulon::platform {

class SocketIcmp final : public Icmp {
 public:
  // The clock gives the tick count that raw requests carry.
  explicit SocketIcmp(Clock& clock) : clock_(clock) {}

  EchoResult SystemEcho(const EchoRequest& request) override;
  EchoResult RawEcho(const EchoRequest& request) override;

 private:
  Clock& clock_;
};

namespace icmp {

// The IPv4 address of a host in network byte order: a dotted address first,
// else the first address of a name lookup.
std::optional<std::uint32_t> ResolveIpv4(std::string_view host);

using Classifier = std::function<ReplyVerdict(std::span<const std::uint8_t>)>;

// Reads packets from fd until the classifier accepts or rejects one. Each
// wait lasts up to timeout_ms, and an ignored packet starts a new full wait.
EchoResult AwaitReply(int fd, std::uint32_t timeout_ms, const Classifier& classify);

}  // namespace icmp
}  // namespace tabulon::platform
