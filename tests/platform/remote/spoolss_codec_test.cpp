// Print spooler replies: sizes and refusals pass through, and record
// buffers whose offsets or counts do not fit the buffer they came in are
// refused.
#include "platform/remote/spoolss_codec.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/remote/spoolss_stubs.h"

namespace tabulon::platform::remote {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SpoolssDecoding, SizingAndRefusalsPassThrough) {
  const EnumPrintersResult small =
      spoolss::DecodeEnumPrinters(testing::EnumPrintersTooSmallReply());
  EXPECT_EQ(small.status, win::ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(small.bytes_needed, 1234u);
  EXPECT_TRUE(small.printers.empty());

  const GetPrinterResult one = spoolss::DecodeGetPrinter(testing::GetPrinter2Reply());
  ASSERT_EQ(one.status, win::ERROR_SUCCESS);
  EXPECT_EQ(one.info.printer_name, "ink");
  EXPECT_EQ(one.info.port_name, "lpt1:");
  EXPECT_EQ(one.info.datatype, "RAW");
  EXPECT_EQ(one.info.status, 0x400u);
}

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Offsets that leave the buffer, strings that run off its end, a descriptor
// whose parts lie outside it, or more records than fit: the stub is bad.
TEST(SpoolssDecoding, LyingBuffersAreBadStubData) {
  struct Lie {
    const char* name;
    std::size_t at;
    std::uint32_t value;
  };
  const Lie lies[] = {
      {"name offset past the end", 88, 256 - 84},
      {"name offset far away", 88, 0xFFFFFFF0},
      {"string without its NUL", 88, 252 - 84},
      {"descriptor past the end", 132, 256 - 84 - 8},
      {"owner past the end", 220, 40},
      {"not self-relative", 216, 0x00040001},
  };
  for (const Lie& lie : lies) {
    Bytes buffer = testing::PrinterEnum2Buffer();
    Put32(buffer, lie.at, lie.value);
    EXPECT_EQ(spoolss::DecodeEnumPrinters(testing::EnumPrinters2Reply(buffer)).status,
              win::RPC_X_BAD_STUB_DATA)
        << lie.name;
  }
  Bytes three = testing::EnumPrinters2Reply(testing::PrinterEnum2Buffer());
  Put32(three, three.size() - 8, 4);  // records returned
  EXPECT_EQ(spoolss::DecodeEnumPrinters(three).status, win::RPC_X_BAD_STUB_DATA);
}

}  // namespace
}  // namespace tabulon::platform::remote
