// The print spooler codec: requests against bytes worked out by hand, and
// printer record buffers whose offsets count from each record, checked
// against the buffer they came in.
#include "platform/remote/spoolss_codec.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/remote/spoolss_stubs.h"

namespace tabulon::platform::remote {
namespace {

using Bytes = std::vector<std::uint8_t>;

ndr::ContextHandle Handle1To20() {
  ndr::ContextHandle h;
  for (std::uint8_t i = 0; i < 20; ++i) h.bytes[i] = static_cast<std::uint8_t>(i + 1);
  return h;
}

const Bytes kHandleBytes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};

Bytes Join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// clang-format off
TEST(SpoolssRequests, MatchHandDerivedBytes) {
  EXPECT_EQ(spoolss::EncodeEnumPrinters(8, "\\\\S", 2, 4), (Bytes{
      0x08, 0, 0, 0,                                   // PRINTER_ENUM_NAME
      0x00, 0x00, 0x02, 0x00,                          // Name referent id
      0x04, 0, 0, 0,  0, 0, 0, 0,  0x04, 0, 0, 0,      // max 4, offset 0, actual 4
      0x5c, 0, 0x5c, 0, 0x53, 0, 0, 0,                 // "\\S" NUL
      0x02, 0, 0, 0,                                   // Level
      0x04, 0x00, 0x02, 0x00,  0x04, 0, 0, 0,          // buffer referent id, size 4
      0, 0, 0, 0,                                      // its bytes
      0x04, 0, 0, 0}));                                // cbBuf
  EXPECT_EQ(spoolss::EncodeEnumPrinters(8, "", 2, 0), (Bytes{
      0x08, 0, 0, 0,  0, 0, 0, 0,                      // flags, Name null
      0x02, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0}));      // Level, buffer null, cbBuf 0
  EXPECT_EQ(spoolss::EncodeOpenPrinter("\\\\S\\p", spoolss::kPrinterAccessUse), (Bytes{
      0x00, 0x00, 0x02, 0x00,                          // pPrinterName referent id
      0x06, 0, 0, 0,  0, 0, 0, 0,  0x06, 0, 0, 0,
      0x5c, 0, 0x5c, 0, 0x53, 0, 0x5c, 0, 0x70, 0, 0, 0,
      0, 0, 0, 0,                                      // pDatatype null
      0, 0, 0, 0,  0, 0, 0, 0,                         // DEVMODE_CONTAINER: cbBuf 0, null
      0x08, 0, 0, 0}));                                // PRINTER_ACCESS_USE
  EXPECT_EQ(spoolss::EncodeGetPrinter(Handle1To20(), 2, 0),
            Join(kHandleBytes, {0x02, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0}));
  EXPECT_EQ(spoolss::EncodeClosePrinter(Handle1To20()), kHandleBytes);
}
// clang-format on

TEST(SpoolssDecoding, EnumRecordsReadTheirOffsetsFromTheirOwnStart) {
  const EnumPrintersResult r =
      spoolss::DecodeEnumPrinters(testing::EnumPrinters2Reply(testing::PrinterEnum2Buffer()));
  ASSERT_EQ(r.status, win::ERROR_SUCCESS);
  EXPECT_EQ(r.bytes_needed, 256u);
  EXPECT_EQ(r.returned, 2u);
  ASSERT_EQ(r.printers.size(), 2u);
  const PrinterInfo2& lp = r.printers[0];
  EXPECT_EQ(lp.server_name, "\\\\S");
  EXPECT_EQ(lp.printer_name, "\\\\S\\lp");
  EXPECT_EQ(lp.share_name, "lp");
  EXPECT_EQ(lp.comment, "Caf\xC3\xA9");
  EXPECT_EQ(lp.port_name, "");
  EXPECT_EQ(lp.attributes, 0x4Cu);
  EXPECT_EQ(lp.until_time, 120u);
  EXPECT_EQ(lp.status, 0x81u);
  EXPECT_EQ(lp.average_ppm, 7u);
  EXPECT_EQ(r.printers[1].printer_name, "ink");
  EXPECT_EQ(r.printers[1].priority, 99u);
}

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
