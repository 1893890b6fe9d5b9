#pragma once
// ICMP echo packets: building requests and judging what comes back. No
// sockets here, so every rule can be checked with plain byte arrays.
// Multi-byte fields are written and read in network byte order.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tabulon::platform::icmp {

inline constexpr std::uint8_t kEchoReply = 0;
inline constexpr std::uint8_t kEchoRequest = 8;
inline constexpr std::uint8_t kDataByte = 'E';
inline constexpr std::size_t kIcmpHeaderSize = 8;
// The raw method's request carries a 4-byte tick count before the data.
inline constexpr std::size_t kRawHeaderSize = 12;
inline constexpr std::size_t kMaxDataSize = 1024;
inline constexpr std::size_t kReceiveBufferSize = 1059;

// RFC 1071 checksum; an odd last byte counts as the high half of a word.
std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes);

// Type 8, code 0, id, sequence, tick count, then data_size bytes of 'E'
// (at most kMaxDataSize), with the checksum over all of it.
std::vector<std::uint8_t> BuildRawEchoRequest(std::uint16_t id, std::uint16_t sequence,
                                              std::uint32_t tick_ms, std::size_t data_size);

// Type 8, code 0, id, sequence, then data_size bytes of 'E' (at most
// kMaxDataSize), with the checksum. Datagram sockets replace id and checksum.
std::vector<std::uint8_t> BuildSystemEchoRequest(std::uint16_t id, std::uint16_t sequence,
                                                 std::size_t data_size);

enum class ReplyVerdict {
  kIgnore,   // not an answer to our request: keep waiting
  kSuccess,  // our echo reply
  kFailure,  // an answer to our request that is not a good echo reply
};

// A packet read from a raw socket, IPv4 header first.
ReplyVerdict ClassifyRawReply(std::span<const std::uint8_t> packet, std::uint16_t id,
                              std::uint16_t sequence);

// An ICMP message without IPv4 header. With no id the kernel has matched it
// already. An echo reply succeeds only when every data byte is 'E'.
ReplyVerdict ClassifySystemReply(std::span<const std::uint8_t> message,
                                 std::optional<std::uint16_t> id, std::uint16_t sequence);

// The ICMP part of a packet that starts with an IPv4 header; empty when the
// header length does not fit the packet.
std::span<const std::uint8_t> StripIpv4Header(std::span<const std::uint8_t> packet);

}  // namespace tabulon::platform::icmp
