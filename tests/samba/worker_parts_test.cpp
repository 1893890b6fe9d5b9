// The parts of the transport that need no server: the worker's frames, the
// status mappings and the file client's URLs.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/samba/samba_status.h"
#include "platform/samba/smb_files.h"
#include "platform/samba/worker_frames.h"

namespace tabulon::platform::samba {
namespace {

TEST(WorkerFrames, RequestRoundTripsAndEveryTruncationIsRefused) {
  WorkerRequest q;
  q.server = "srv";
  q.pipe = "svcctl";
  q.uuid[0] = 0x36;
  q.version_major = 2;
  q.opnum = 15;
  q.stub = {1, 2, 3};
  const auto frame = EncodeRequest(q);
  const std::span<const std::uint8_t> body(frame.begin() + 4, frame.end());
  ASSERT_EQ(FrameLength(std::span<const std::uint8_t, 4>(frame.data(), 4)), body.size());
  const auto back = DecodeRequest(body);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->server, "srv");
  EXPECT_EQ(back->pipe, "svcctl");
  EXPECT_EQ(back->uuid, q.uuid);
  EXPECT_EQ(back->version_major, 2);
  EXPECT_EQ(back->opnum, 15);
  EXPECT_EQ(back->stub, q.stub);
  for (std::size_t n = 0; n < body.size(); ++n) EXPECT_FALSE(DecodeRequest(body.first(n))) << n;
  std::vector<std::uint8_t> longer(body.begin(), body.end());
  longer.push_back(0);
  EXPECT_FALSE(DecodeRequest(longer)) << "trailing bytes";
}

TEST(WorkerFrames, ReplyRoundTrips) {
  const auto frame = EncodeReply({0xC0000022, 5, {9, 8}});
  const auto back = DecodeReply(std::span<const std::uint8_t>(frame).subspan(4));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->nt_status, 0xC0000022u);
  EXPECT_EQ(back->fault, 5u);
  EXPECT_EQ(back->stub, (std::vector<std::uint8_t>{9, 8}));
}

TEST(WorkerFrames, DiskSpaceFramesRoundTripAndAreNotTakenForCalls) {
  const auto frame = EncodeRequest(DiskSpaceRequest{"srv", "C$", "a/b"});
  const std::span<const std::uint8_t> body(frame.begin() + 4, frame.end());
  EXPECT_EQ(KindOf(body), RequestKind::kDiskSpace);
  EXPECT_FALSE(DecodeRequest(body));
  const auto back = DecodeDiskSpaceRequest(body);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->server + "|" + back->share + "|" + back->directory, "srv|C$|a/b");
  for (std::size_t n = 0; n < body.size(); ++n) {
    EXPECT_FALSE(DecodeDiskSpaceRequest(body.first(n))) << n;
  }
  const auto call = EncodeRequest(WorkerRequest{});
  EXPECT_FALSE(DecodeDiskSpaceRequest(std::span<const std::uint8_t>(call).subspan(4)));
  const std::uint8_t unknown[] = {9};
  EXPECT_FALSE(KindOf(unknown));

  const auto reply = EncodeReply(DiskSpaceReply{0, 1ull << 40, 5, 3});
  const auto answer = DecodeDiskSpaceReply(std::span<const std::uint8_t>(reply).subspan(4));
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->total_bytes, 1ull << 40);
  EXPECT_EQ(answer->total_free_bytes, 5u);
  EXPECT_EQ(answer->free_bytes_available, 3u);
  EXPECT_FALSE(DecodeDiskSpaceReply(std::span<const std::uint8_t>(reply).subspan(5)));
}

TEST(WorkerFrames, FileFramesRoundTripAndTruncationsAreRefused) {
  FileRequest q;
  q.kind = RequestKind::kReadFile;
  q.server = "srv";
  q.share = "D";
  q.path = "bin/tool.exe";
  q.offset = 1ull << 33;
  q.size = 4096;
  const auto frame = EncodeRequest(q);
  const std::span<const std::uint8_t> body(frame.begin() + 4, frame.end());
  const auto back = DecodeFileRequest(body);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->kind, RequestKind::kReadFile);
  EXPECT_EQ(back->server + "|" + back->share + "|" + back->path, "srv|D|bin/tool.exe");
  EXPECT_EQ(back->offset, 1ull << 33);
  EXPECT_EQ(back->size, 4096u);
  EXPECT_FALSE(DecodeRequest(body));
  for (std::size_t n = 0; n < body.size(); ++n) EXPECT_FALSE(DecodeFileRequest(body.first(n))) << n;

  FileReply reply;
  reply.items.push_back({0x10, 1, 2, 3, 0, ".", 0, 0});
  reply.items.push_back({0x20, 4, 5, 6, 1ull << 40, "Ünïcode name.exe", 0, 1ull << 50});
  reply.more = true;
  reply.bytes = {0x4D, 0x5A};
  reply.text = "REVISION:1";
  const auto encoded = EncodeReply(reply);
  const std::span<const std::uint8_t> answer(encoded.begin() + 4, encoded.end());
  const auto got = DecodeFileReply(answer);
  ASSERT_TRUE(got);
  ASSERT_EQ(got->items.size(), 2u);
  EXPECT_EQ(got->items[1].name, "Ünïcode name.exe");
  EXPECT_EQ(got->items[1].size, 1ull << 40);
  EXPECT_EQ(got->items[1].last_write_time, 6u);
  EXPECT_EQ(got->items[1].file_id, 1ull << 50);
  EXPECT_TRUE(got->more);
  EXPECT_EQ(got->bytes, reply.bytes);
  EXPECT_EQ(got->text, "REVISION:1");
  for (std::size_t n = 0; n < answer.size(); ++n)
    EXPECT_FALSE(DecodeFileReply(answer.first(n))) << n;
}

TEST(SmbFiles, UrlsEscapeWhatAUrlWouldReadDifferently) {
  EXPECT_EQ(SmbUrl("127.0.0.1", "C$", "", true), "smb://127.0.0.1/C%24/");
  EXPECT_EQ(SmbUrl("fs01", "My Data", "a b/100%/#x", true),
            "smb://fs01/My%20Data/a%20b/100%25/%23x/");
  EXPECT_EQ(SmbUrl("fs01", "D", "bin/tool.exe", false), "smb://fs01/D/bin/tool.exe");
}

TEST(SambaStatus, FileClientErrorsAreWhatAWindowsClientReports) {
  struct Case {
    int error;
    win::Status expected;
  };
  const Case cases[] = {
      {0, win::ERROR_SUCCESS},
      {ENOENT, win::ERROR_FILE_NOT_FOUND},  // what the caller says a missing entry is
      {ECONNREFUSED, win::ERROR_BAD_NETPATH},
      // A connection that breaks under a request: the network name has gone.
      {ECONNRESET, win::ERROR_NETNAME_DELETED},
      {ENETRESET, win::ERROR_NETNAME_DELETED},
      {EACCES, win::ERROR_ACCESS_DENIED},
      {EISDIR, win::ERROR_ACCESS_DENIED},
      {ENOTSUP, win::ERROR_NOT_SUPPORTED},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StatusFromFileClient(static_cast<std::uint32_t>(c.error), win::ERROR_FILE_NOT_FOUND),
              c.expected)
        << c.error;
  }
}

TEST(SambaStatus, MapsWhatAWindowsClientWouldReport) {
  struct Case {
    std::uint32_t nt_status, fault;
    win::Status expected;
  };
  const Case cases[] = {
      {0, 0, win::ERROR_SUCCESS},
      {0xC000006D, 0, win::ERROR_LOGON_FAILURE},
      {0xC000006A, 0, win::ERROR_LOGON_FAILURE},
      {0xC0000022, 0, win::ERROR_ACCESS_DENIED},
      {0xC0000034, 0, win::RPC_S_SERVER_UNAVAILABLE},
      {0xC0000236, 0, win::ERROR_BAD_NETPATH},
      {0xC00000B5, 0, win::ERROR_TIMEOUT},
      {0x12345678, 0, win::RPC_S_CALL_FAILED},
      // What the library says of a connection that has gone, out of memory
      // at times: a failed call, never the program's memory.
      {0xC000020C, 0, win::RPC_S_CALL_FAILED},
      {0xC0000017, 0, win::RPC_S_CALL_FAILED},
      // A fault wins over the library's own translation of it.
      {0xC0000022, 1783, 1783},
      {0xC002002E, 0x1C010002, win::RPC_S_PROCNUM_OUT_OF_RANGE},
      {0xC0020001, 0x1C000001, win::RPC_S_ZERO_DIVIDE},
      {0xC0020001, 0x1C0000FF, win::RPC_S_CALL_FAILED},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StatusFromSamba(c.nt_status, c.fault), c.expected)
        << std::hex << c.nt_status << " " << c.fault;
  }
}

}  // namespace
}  // namespace tabulon::platform::samba
