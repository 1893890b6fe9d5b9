// Service control sizing and handle numbers, and the order in which the NDR
// reader takes deferred referents.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/remote/ndr/ndr_reader.h"
#include "platform/remote/sample_stubs.h"
#include "platform/remote/service_handle_table.h"
#include "platform/remote/svcctl_codec.h"

namespace tabulon::platform::remote {
namespace {

TEST(SvcctlDecoding, ServiceConfigAndItsSizing) {
  const ServiceConfigResult r = svcctl::DecodeQueryServiceConfig(testing::ServiceConfigReply());
  ASSERT_EQ(r.status, win::ERROR_SUCCESS);
  EXPECT_EQ(r.config.binary_path_name, "C:\\svc.exe");
  EXPECT_EQ(r.config.dependencies, (std::vector<std::string>{"Tcpip", "+Group", "Afd"}));
  EXPECT_EQ(r.config.display_name, "Service");

  const ServiceConfigResult small =
      svcctl::DecodeQueryServiceConfig(testing::ServiceConfigTooSmallReply());
  EXPECT_EQ(small.status, win::ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(small.bytes_needed, 366u);
}

TEST(SvcctlDecoding, HandlesAndTheirNumbers) {
  const svcctl::HandleReply open = svcctl::DecodeOpenReply(testing::OpenReply());
  ASSERT_EQ(open.status, win::ERROR_SUCCESS);
  EXPECT_EQ(svcctl::DecodeCloseServiceHandle(testing::CloseReply()), win::ERROR_SUCCESS);

  ServiceHandleTable table;
  const ServiceHandle a = table.Add(open.handle);
  EXPECT_EQ(table.Add(ndr::ContextHandle{}), 0u);  // a failed open gives no handle
  ASSERT_NE(table.Find(a), nullptr);
  EXPECT_EQ(*table.Find(a), open.handle);
  EXPECT_TRUE(table.Remove(a));
  EXPECT_EQ(table.Find(a), nullptr);
  EXPECT_NE(table.Add(open.handle), a);  // numbers are not reused
}

// Referents are read back in the order NdrWriter's test writes them; a full
// pointer's referent is read once.
TEST(NdrReader, ReadsDeferredReferentsDepthFirstAndFullPointersOnce) {
  // clang-format off
  const auto stub = testing::Stub()
      .U32(0x20000).U32(0x20004)  // two pointers
      .U32(0xA).U32(0x20008)      // first referent and its pointer
      .U32(0xAA).U32(0xB)         // its referent, the second referent
      .U32(0x20010).U32(0x20010)  // a full pointer twice
      .U32(0xF)                   // its referent, once
      .bytes();
  // clang-format on
  ndr::NdrReader r(stub);
  std::vector<std::uint32_t> seen;
  auto read = [&] { seen.push_back(r.U32()); };
  r.Construct([&] {
    r.Pointer([&] {
      read();
      r.Pointer(read);
    });
    r.Pointer(read);
  });
  r.Construct([&] {
    r.FullPointer(read);
    r.FullPointer(read);
  });
  EXPECT_EQ(r.remaining(), 0u);
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{0xA, 0xAA, 0xB, 0xF}));
}

}  // namespace
}  // namespace tabulon::platform::remote
