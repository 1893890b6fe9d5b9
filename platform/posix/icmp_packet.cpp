#include "platform/posix/icmp_packet.h"

#include <algorithm>

namespace tabulon::platform::icmp {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t value) {
  out[at] = static_cast<std::uint8_t>(value >> 8);
  out[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

std::uint16_t Get16(std::span<const std::uint8_t> in, std::size_t at) {
  return static_cast<std::uint16_t>((in[at] << 8) | in[at + 1]);
}

std::vector<std::uint8_t> BuildEcho(std::size_t header_size, std::uint16_t id,
                                    std::uint16_t sequence, std::size_t data_size) {
  std::vector<std::uint8_t> packet(header_size + std::min(data_size, kMaxDataSize), kDataByte);
  std::fill_n(packet.begin(), header_size, std::uint8_t{0});
  packet[0] = kEchoRequest;
  Put16(packet, 4, id);
  Put16(packet, 6, sequence);
  return packet;
}

void SetChecksum(std::vector<std::uint8_t>& packet) {
  Put16(packet, 2, 0);
  Put16(packet, 2, InternetChecksum(packet));
}

}  // namespace

std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes) {
  std::uint32_t sum = 0;
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) sum += Get16(bytes, i);
  if (i < bytes.size()) sum += static_cast<std::uint32_t>(bytes[i]) << 8;
  while (sum > 0xFFFF) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum & 0xFFFF);
}

std::vector<std::uint8_t> BuildRawEchoRequest(std::uint16_t id, std::uint16_t sequence,
                                              std::uint32_t tick_ms, std::size_t data_size) {
  auto packet = BuildEcho(kRawHeaderSize, id, sequence, data_size);
  Put16(packet, 8, static_cast<std::uint16_t>(tick_ms >> 16));
  Put16(packet, 10, static_cast<std::uint16_t>(tick_ms & 0xFFFF));
  SetChecksum(packet);
  return packet;
}

std::vector<std::uint8_t> BuildSystemEchoRequest(std::uint16_t id, std::uint16_t sequence,
                                                 std::size_t data_size) {
  auto packet = BuildEcho(kIcmpHeaderSize, id, sequence, data_size);
  SetChecksum(packet);
  return packet;
}

std::span<const std::uint8_t> StripIpv4Header(std::span<const std::uint8_t> packet) {
  if (packet.empty()) return {};
  const std::size_t header = static_cast<std::size_t>(packet[0] & 0x0F) * 4;
  if (header > packet.size()) return {};
  return packet.subspan(header);
}

ReplyVerdict ClassifyRawReply(std::span<const std::uint8_t> packet, std::uint16_t id,
                              std::uint16_t sequence) {
  if (packet.empty()) return ReplyVerdict::kIgnore;
  const std::size_t header = static_cast<std::size_t>(packet[0] & 0x0F) * 4;
  if (packet.size() < header + kRawHeaderSize) return ReplyVerdict::kIgnore;
  const auto message = packet.subspan(header);
  if (Get16(message, 4) != id || Get16(message, 6) != sequence) return ReplyVerdict::kIgnore;
  // On Linux a raw socket also delivers our own request when the target is
  // local; Windows never shows it to the sender, so it must not end the wait.
  if (message[0] == kEchoRequest) return ReplyVerdict::kIgnore;
  return message[0] == kEchoReply ? ReplyVerdict::kSuccess : ReplyVerdict::kFailure;
}

ReplyVerdict ClassifySystemReply(std::span<const std::uint8_t> message,
                                 std::optional<std::uint16_t> id, std::uint16_t sequence) {
  if (message.size() < kIcmpHeaderSize) return ReplyVerdict::kIgnore;
  if ((id && Get16(message, 4) != *id) || Get16(message, 6) != sequence) {
    return ReplyVerdict::kIgnore;
  }
  if (message[0] == kEchoRequest) return ReplyVerdict::kIgnore;  // our own, seen on loopback
  if (message[0] != kEchoReply) return ReplyVerdict::kFailure;
  const auto data = message.subspan(kIcmpHeaderSize);
  const bool all_e = std::all_of(data.begin(), data.end(), [](auto b) { return b == kDataByte; });
  return all_e ? ReplyVerdict::kSuccess : ReplyVerdict::kFailure;
}

}  // namespace tabulon::platform::icmp
