#pragma once
// The messages between the transport and its worker process. Each frame is a
// 32-bit little-endian length followed by that many bytes; the worker answers
// every request with exactly one reply, in order. A request's first byte says
// what it asks: a call on an RPC pipe, the space of a share's volume, or a
// listing, byte range or security descriptor of a path in a share.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/credentials.h"
#include "platform/file_system.h"

namespace tabulon::platform::samba {

// A frame longer than this is refused: a stub of the exports' calls is far
// smaller, so a longer one means a broken stream.
inline constexpr std::uint32_t kMaxFrameBytes = 64u << 20;

// The most bytes one read asks for: larger ranges take several requests.
inline constexpr std::uint32_t kMaxReadBytes = 8u << 20;

enum class RequestKind : std::uint8_t {
  kRpcCall = 1,
  kDiskSpace = 2,
  kListDirectory = 3,
  kReadFile = 4,
  kFileSecurity = 5,
};

struct WorkerRequest {
  std::string server;  // host name or address, without leading backslashes
  std::string pipe;
  std::array<std::uint8_t, 16> uuid{};
  std::uint16_t version_major = 0;
  std::uint16_t version_minor = 0;
  std::uint16_t opnum = 0;
  std::vector<std::uint8_t> stub;
};

struct WorkerReply {
  // What the client library said (an NTSTATUS) and, when the server answered
  // with a fault PDU, the fault code; the parent maps them to a Windows status.
  std::uint32_t nt_status = 0;
  std::uint32_t fault = 0;
  std::vector<std::uint8_t> stub;
};

// The space of the volume behind a directory of a share.
struct DiskSpaceRequest {
  std::string server;
  std::string share;
  std::string directory;  // "/" between parts; empty for the share's root
};

struct DiskSpaceReply {
  // The errno the file client library set (0 on success); the parent maps
  // it to a Windows status.
  std::uint32_t error = 0;
  std::uint64_t total_bytes = 0;
  std::uint64_t total_free_bytes = 0;
  std::uint64_t free_bytes_available = 0;
};

// One of the file requests on a path of a share.
struct FileRequest {
  RequestKind kind = RequestKind::kListDirectory;
  std::string server;
  std::string share;
  std::string path;  // "/" between parts; empty for the share's root
  // kListDirectory: go on with the listing the last reply left unfinished
  // rather than start it again.
  bool resume = false;
  // kReadFile: the range wanted.
  std::uint64_t offset = 0;
  std::uint32_t size = 0;
};

struct FileReply {
  std::uint32_t error = 0;  // the errno the file client library set
  // kListDirectory: the next items of the directory, "." and ".." included
  // when the server lists them, each with the file id the server gave (0
  // when none); `more` when the listing goes on.
  std::vector<FindData> items;
  bool more = false;
  // kReadFile: the bytes read, fewer than asked at the end of the file.
  std::vector<std::uint8_t> bytes;
  // kFileSecurity: the descriptor as the library's text
  // ("REVISION:1,OWNER:S-1-...,GROUP:...,ACL:S-...:0/3/0x001f01ff,...").
  std::string text;
};

// The worker's first frame: who it logs on as, where servers listen and
// how long one call may take. The worker answers it with an empty reply
// (`WorkerReply`) once it is ready.
struct WorkerLogon {
  Credentials credentials;
  std::uint16_t smb_port = 445;
  std::uint32_t call_timeout_ms = 0;
};

// The logon frame, in a buffer of exactly its size: the caller wipes it
// (WipeBytes) once sent, and no reallocation left a copy of the password.
std::vector<std::uint8_t> EncodeLogon(const Credentials& credentials, std::uint16_t smb_port,
                                      std::uint32_t call_timeout_ms);
// The password is copied once, into the result; the caller wipes `body`.
std::optional<WorkerLogon> DecodeLogon(std::span<const std::uint8_t> body);

// A whole frame, length prefix included.
std::vector<std::uint8_t> EncodeRequest(const WorkerRequest& request);
std::vector<std::uint8_t> EncodeRequest(const DiskSpaceRequest& request);
std::vector<std::uint8_t> EncodeReply(const WorkerReply& reply);
std::vector<std::uint8_t> EncodeReply(const DiskSpaceReply& reply);
std::vector<std::uint8_t> EncodeRequest(const FileRequest& request);
std::vector<std::uint8_t> EncodeReply(const FileReply& reply);

// The body of a frame (after its length prefix); nothing when it is malformed
// or, for a request, of another kind.
std::optional<RequestKind> KindOf(std::span<const std::uint8_t> body);
std::optional<WorkerRequest> DecodeRequest(std::span<const std::uint8_t> body);
std::optional<DiskSpaceRequest> DecodeDiskSpaceRequest(std::span<const std::uint8_t> body);
std::optional<WorkerReply> DecodeReply(std::span<const std::uint8_t> body);
std::optional<DiskSpaceReply> DecodeDiskSpaceReply(std::span<const std::uint8_t> body);
std::optional<FileRequest> DecodeFileRequest(std::span<const std::uint8_t> body);
std::optional<FileReply> DecodeFileReply(std::span<const std::uint8_t> body);

// The worker serves file requests on one connection at a time, the one to
// the share last asked for; a request whose key differs from the last one's
// is served on a new connection. Names compare without regard to case.
std::string FileConnectionKey(std::string_view server, std::string_view share);

// Whether a call's answer lists the server's own clients: its sessions,
// connections, open files, or its shares with their current users. The file
// connection, a session of its own (`docs/remote.md`), is closed before such
// a call, so that the run shows in the answer as the pipes' one session.
bool ListsServerClients(const WorkerRequest& request);

// The body length a frame announces in its first four bytes.
std::uint32_t FrameLength(std::span<const std::uint8_t, 4> prefix);

}  // namespace tabulon::platform::samba
