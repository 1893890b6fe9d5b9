#pragma once
// The messages between the transport and its worker process. Each frame is a
// 32-bit little-endian length followed by that many bytes; the worker answers
// every request with exactly one reply, in order.
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

// A whole frame, length prefix included.
std::vector<std::uint8_t> EncodeRequest(const WorkerRequest& request);
std::vector<std::uint8_t> EncodeReply(const WorkerReply& reply);

// The body of a frame (after its length prefix); nothing when it is malformed.
std::optional<WorkerRequest> DecodeRequest(std::span<const std::uint8_t> body);
std::optional<WorkerReply> DecodeReply(std::span<const std::uint8_t> body);

// The body length a frame announces in its first four bytes.
std::uint32_t FrameLength(std::span<const std::uint8_t, 4> prefix);

}  // namespace tabulon::platform::samba
