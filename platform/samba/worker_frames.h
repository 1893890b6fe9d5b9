#pragma once
// The messages between the transport and its worker process. Each frame is a
// 32-bit little-endian length followed by that many bytes; the worker answers
// every request with exactly one reply, in order. A request's first byte says
// what it asks: a call on an RPC pipe or the space of a share's volume.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tabulon::platform::samba {

// A frame longer than this is refused: a stub of the exports' calls is far
// smaller, so a longer one means a broken stream.
inline constexpr std::uint32_t kMaxFrameBytes = 64u << 20;

enum class RequestKind : std::uint8_t { kRpcCall = 1, kDiskSpace = 2 };

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

// A whole frame, length prefix included.
std::vector<std::uint8_t> EncodeRequest(const WorkerRequest& request);
std::vector<std::uint8_t> EncodeRequest(const DiskSpaceRequest& request);
std::vector<std::uint8_t> EncodeReply(const WorkerReply& reply);
std::vector<std::uint8_t> EncodeReply(const DiskSpaceReply& reply);

// The body of a frame (after its length prefix); nothing when it is malformed
// or, for a request, of another kind.
std::optional<RequestKind> KindOf(std::span<const std::uint8_t> body);
std::optional<WorkerRequest> DecodeRequest(std::span<const std::uint8_t> body);
std::optional<DiskSpaceRequest> DecodeDiskSpaceRequest(std::span<const std::uint8_t> body);
std::optional<WorkerReply> DecodeReply(std::span<const std::uint8_t> body);
std::optional<DiskSpaceReply> DecodeDiskSpaceReply(std::span<const std::uint8_t> body);

// The body length a frame announces in its first four bytes.
std::uint32_t FrameLength(std::span<const std::uint8_t, 4> prefix);

}  // namespace tabulon::platform::samba
