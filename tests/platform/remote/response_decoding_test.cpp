// Responses built field by field (sample_stubs.cpp) decode to the records
// the exports read, with the server's status, totals and resume handles.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/remote/ndr/ndr_reader.h"
#include "platform/remote/sample_stubs.h"
#include "platform/remote/service_handle_table.h"
#include "platform/remote/srvsvc_codec.h"
#include "platform/remote/svcctl_codec.h"
#include "platform/remote/wkssvc_codec.h"

namespace tabulon::platform::remote {
namespace {

// Deferred strings land on their own entries; null pointers read as empty.
TEST(SrvsvcDecoding, ShareEnum502PageWithDescriptor) {
  const ShareEnumResult r = srvsvc::DecodeShareEnum(testing::ShareEnum502Reply(), 502);
  ASSERT_EQ(r.status, win::ERROR_MORE_DATA);
  EXPECT_EQ(r.total_entries, 5u);
  EXPECT_EQ(r.resume_handle, 2u);
  ASSERT_EQ(r.entries.size(), 2u);
  EXPECT_EQ(r.entries[0].netname, "data");
  EXPECT_EQ(r.entries[0].remark, "Data files");
  EXPECT_EQ(r.entries[0].path, "C:\\data");
  EXPECT_EQ(r.entries[0].current_uses, 1u);
  EXPECT_EQ(r.entries[0].security_descriptor, (std::vector<std::uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(r.entries[1].netname, "IPC$");
  EXPECT_EQ(r.entries[1].type, 0x80000003u);
  EXPECT_EQ(r.entries[1].remark, "");
  EXPECT_TRUE(r.entries[1].security_descriptor.empty());
}

// One number and the last string of each record: a field out of place
// shifts both.
TEST(SrvsvcDecoding, TheOtherCalls) {
  const ServerInfoResult info = srvsvc::DecodeServerGetInfo101(testing::ServerInfo101Reply());
  EXPECT_EQ(info.info.type, 0x9003u);
  EXPECT_EQ(info.info.comment, "Caf\xC3\xA9");

  const ShareEnumResult empty = srvsvc::DecodeShareEnum(testing::ShareEnum1EmptyReply(), 1);
  EXPECT_EQ(empty.status, win::ERROR_SUCCESS);
  EXPECT_TRUE(empty.entries.empty());
  // The reply of another level is not taken for this one.
  EXPECT_EQ(srvsvc::DecodeShareEnum(testing::ShareEnum1EmptyReply(), 502).status,
            win::RPC_X_BAD_STUB_DATA);
  EXPECT_EQ(srvsvc::DecodeShareGetInfo0(testing::ShareGetInfo0Reply()).netname, "data");

  const auto conns = srvsvc::DecodeConnectionEnum1(testing::ConnectionEnum1Reply()).entries;
  ASSERT_EQ(conns.size(), 1u);
  EXPECT_EQ(conns[0].time, 60u);
  EXPECT_EQ(conns[0].netname, "PC1");

  const auto sessions = srvsvc::DecodeSessionEnum(testing::SessionEnum502Reply(), 502).entries;
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(sessions[0].idle_time, 5u);
  EXPECT_EQ(sessions[0].cltype_name, "Samba");

  const auto files = srvsvc::DecodeFileEnum3(testing::FileEnum3Reply()).entries;
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].id, 42u);
  EXPECT_EQ(files[0].username, "bob");

  const ServerDiskEnumResult disks = srvsvc::DecodeServerDiskEnum0(testing::DiskEnum0Reply());
  EXPECT_EQ(disks.disks, (std::vector<std::string>{"C:", "D:"}));

  const auto transports = wkssvc::DecodeWkstaTransportEnum0(testing::TransportEnum0Reply()).entries;
  ASSERT_EQ(transports.size(), 1u);
  EXPECT_EQ(transports[0].number_of_vcs, 1u);
  EXPECT_EQ(transports[0].transport_address, "000000000000");
}

TEST(SvcctlDecoding, EnumServicesMoreDataPage) {
  const EnumServicesResult r =
      svcctl::DecodeEnumServicesStatus(testing::EnumServicesMoreDataReply());
  ASSERT_EQ(r.status, win::ERROR_MORE_DATA);
  EXPECT_EQ(r.bytes_needed, 500u);
  EXPECT_EQ(r.resume_handle, 2u);
  ASSERT_EQ(r.services.size(), 2u);
  EXPECT_EQ(r.services[0].service_name, "a");
  EXPECT_EQ(r.services[0].display_name, "Alpha");
  EXPECT_EQ(r.services[1].display_name, "B");
  EXPECT_EQ(r.services[1].win32_exit_code, 1077u);
}

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
