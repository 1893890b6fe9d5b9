#include "platform/posix/icmp_packet.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace tabulon::platform::icmp {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(IcmpChecksum, KnownVectors) {
  struct Case {
    const char* name;
    Bytes bytes;
    std::uint16_t sum;
  } cases[] = {
      {"RFC 1071 example", {0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7}, 0x220D},
      {"IPv4 header",
       {0x45, 0x00, 0x00, 0x73, 0x00, 0x00, 0x40, 0x00, 0x40, 0x11,
        0x00, 0x00, 0xC0, 0xA8, 0x00, 0x01, 0xC0, 0xA8, 0x00, 0xC7},
       0xB861},
      {"empty", {}, 0xFFFF},
      {"odd byte is the high half", {0x01}, 0xFEFF},
      {"carries fold back in", {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x02}, 0xFFFD},
      {"all ones", {0xFF, 0xFF}, 0x0000},
  };
  for (const auto& c : cases) EXPECT_EQ(InternetChecksum(c.bytes), c.sum) << c.name;
}

TEST(IcmpRequest, RawRequestLayout) {
  const Bytes packet = BuildRawEchoRequest(0x1234, 0, 0xA1B2C3D4, 32);
  ASSERT_EQ(packet.size(), 44u);
  const Bytes header(packet.begin(), packet.begin() + 12);
  EXPECT_EQ(header,
            (Bytes{0x08, 0x00, 0x2B, 0xF0, 0x12, 0x34, 0x00, 0x00, 0xA1, 0xB2, 0xC3, 0xD4}));
  for (std::size_t i = 12; i < packet.size(); ++i) EXPECT_EQ(packet[i], 'E') << i;
  EXPECT_EQ(InternetChecksum(packet), 0);  // a correct checksum sums to zero
}

TEST(IcmpRequest, SystemRequestLayout) {
  const Bytes packet = BuildSystemEchoRequest(0xBEEF, 7, 3);
  EXPECT_EQ(packet, (Bytes{0x08, 0x00, 0xAE, 0xC3, 0xBE, 0xEF, 0x00, 0x07, 'E', 'E', 'E'}));
  EXPECT_EQ(InternetChecksum(packet), 0);
}

TEST(IcmpRequest, DataLengthIsLimited) {
  struct Case {
    std::size_t data;
    std::size_t raw;
    std::size_t system;
  } cases[] = {{0, 12, 8}, {32, 44, 40}, {1024, 1036, 1032}, {5000, 1036, 1032}};
  for (const auto& c : cases) {
    EXPECT_EQ(BuildRawEchoRequest(1, 0, 0, c.data).size(), c.raw) << c.data;
    EXPECT_EQ(BuildSystemEchoRequest(1, 0, c.data).size(), c.system) << c.data;
  }
}

// An ICMP message: header of type, code 0, id and sequence, then data.
Bytes Message(std::uint8_t type, std::uint16_t id, std::uint16_t seq, std::size_t data = 32) {
  Bytes m{type,
          0,
          0,
          0,
          static_cast<std::uint8_t>(id >> 8),
          static_cast<std::uint8_t>(id),
          static_cast<std::uint8_t>(seq >> 8),
          static_cast<std::uint8_t>(seq)};
  m.insert(m.end(), data, 'E');
  return m;
}

// The message behind an IPv4 header of ihl 32-bit words.
Bytes Packet(std::uint8_t ihl, std::uint8_t type, std::uint16_t id, std::uint16_t seq,
             std::size_t data = 32) {
  Bytes p(std::size_t{ihl} * 4, 0);
  p[0] = static_cast<std::uint8_t>(0x40 | ihl);
  const Bytes m = Message(type, id, seq, data);
  p.insert(p.end(), m.begin(), m.end());
  return p;
}

Bytes Truncated(Bytes p, std::size_t size) {
  p.resize(size);
  return p;
}

TEST(IcmpReply, RawClassification) {
  constexpr std::uint16_t kId = 0x1234;
  // Destination unreachable: its bytes 4-7 are unused, our header sits inside.
  Bytes unreachable = Packet(5, 3, 0, 0, 0);
  const Bytes quoted = Packet(5, 8, kId, 0, 8);
  unreachable.insert(unreachable.end(), quoted.begin(), quoted.end());
  struct Case {
    const char* name;
    Bytes packet;
    ReplyVerdict verdict;
  } cases[] = {
      {"our echo reply", Packet(5, 0, kId, 0), ReplyVerdict::kSuccess},
      {"header with options", Packet(6, 0, kId, 0), ReplyVerdict::kSuccess},
      {"header + 12 bytes is enough", Packet(5, 0, kId, 0, 4), ReplyVerdict::kSuccess},
      {"header + 11 bytes is short", Truncated(Packet(5, 0, kId, 0, 4), 31), ReplyVerdict::kIgnore},
      {"our own request", Packet(5, 8, kId, 0), ReplyVerdict::kIgnore},
      {"other id", Packet(5, 0, kId + 1, 0), ReplyVerdict::kIgnore},
      {"other sequence", Packet(5, 0, kId, 1), ReplyVerdict::kIgnore},
      {"destination unreachable", unreachable, ReplyVerdict::kIgnore},
      {"other type with our id", Packet(5, 14, kId, 0), ReplyVerdict::kFailure},
      {"header longer than packet", Truncated(Packet(15, 0, kId, 0, 0), 20), ReplyVerdict::kIgnore},
      {"empty", {}, ReplyVerdict::kIgnore},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassifyRawReply(c.packet, kId, 0), c.verdict) << c.name;
}

TEST(IcmpReply, SystemClassification) {
  constexpr std::uint16_t kId = 0x0203;
  Bytes one_wrong_byte = Message(0, kId, 0);
  one_wrong_byte.back() = 'F';
  struct Case {
    const char* name;
    Bytes message;
    std::optional<std::uint16_t> id;
    ReplyVerdict verdict;
  } cases[] = {
      {"reply of 'E' bytes", Message(0, kId, 0), kId, ReplyVerdict::kSuccess},
      {"kernel matched the id", Message(0, 0x9999, 0), std::nullopt, ReplyVerdict::kSuccess},
      {"data differs", one_wrong_byte, kId, ReplyVerdict::kFailure},
      {"other id", Message(0, kId + 1, 0), kId, ReplyVerdict::kIgnore},
      {"other sequence", Message(0, kId, 3), std::nullopt, ReplyVerdict::kIgnore},
      {"our own request", Message(8, kId, 0), kId, ReplyVerdict::kIgnore},
      {"other type with our id", Message(3, kId, 0), kId, ReplyVerdict::kFailure},
      {"shorter than a header", Truncated(Message(0, kId, 0), 7), kId, ReplyVerdict::kIgnore},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassifySystemReply(c.message, c.id, 0), c.verdict) << c.name;
  }
}

TEST(IcmpReply, StripIpv4HeaderUsesHeaderLength) {
  const Bytes packet = Packet(6, 0, 1, 0, 2);
  const auto message = StripIpv4Header(packet);
  ASSERT_EQ(message.size(), 10u);
  EXPECT_EQ(message.data(), packet.data() + 24);
  EXPECT_TRUE(StripIpv4Header(Truncated(packet, 23)).empty());
  EXPECT_TRUE(StripIpv4Header({}).empty());
}

}  // namespace
}  // namespace tabulon::platform::icmp
