// The one reader of little-endian structures: every read at the buffer's
// end, and every string that runs off it, fails without consuming anything.
#include "platform/byte_reader.h"

#include <gtest/gtest.h>

namespace tabulon::platform {
namespace {

TEST(ByteReader, ReadsInOrderAndAFailedReadConsumesNothing) {
  const std::uint8_t bytes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
  ByteReader r(bytes);
  std::uint8_t b = 0;
  std::uint16_t h = 0;
  std::uint32_t w = 0;
  std::uint64_t q = 0;
  ASSERT_TRUE(r.U8(b) && r.U16(h) && r.U32(w));
  EXPECT_FALSE(r.U64(q)) << "7 bytes left";
  EXPECT_EQ(b, 1);
  EXPECT_EQ(h, 0x0302);
  EXPECT_EQ(w, 0x07060504u);
  EXPECT_EQ(q, 0u) << "a failed read leaves the value";
  EXPECT_EQ(r.at(), 7u);
  std::span<const std::uint8_t> taken;
  EXPECT_FALSE(r.Take(8, taken));
  ASSERT_TRUE(r.Take(7, taken));
  EXPECT_EQ(taken.front(), 8);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_FALSE(r.Skip(1));
  EXPECT_FALSE(r.U8(b));
}

TEST(ByteReader, RandomAccessAndStringsStayInsideTheBuffer) {
  const std::uint8_t bytes[] = {0x41, 0, 0x42, 0, 0, 0, 0x43};
  EXPECT_EQ(Le16At(bytes, 0), 0x41);
  EXPECT_EQ(Le32At(bytes, 0), 0x00420041u);
  EXPECT_EQ(Le32At(bytes, 3), 0x43000000u);
  EXPECT_EQ(Le32At(bytes, 4), std::nullopt);
  EXPECT_EQ(Le16At(bytes, 6), std::nullopt);
  EXPECT_EQ(Le16At(bytes, SIZE_MAX), std::nullopt);
  EXPECT_EQ(Utf16zAt(bytes, 0), "AB");
  EXPECT_EQ(Utf16zAt(bytes, 4), "");
  EXPECT_EQ(Utf16zAt(bytes, 6), std::nullopt) << "one byte left: no terminator";
  EXPECT_EQ(Utf16zAt(bytes, 5), std::nullopt) << "odd start: 0x00 0x43 is no terminator";
  EXPECT_EQ(Utf16zAt(bytes, 99), std::nullopt);
}

}  // namespace
}  // namespace tabulon::platform
