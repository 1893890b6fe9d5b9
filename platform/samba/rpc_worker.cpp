#include "platform/samba/rpc_worker.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "platform/samba/samba_status.h"
#include "platform/samba/server_pipes.h"
#include "platform/samba/smb_files.h"
#include "platform/samba/worker_frames.h"
#include "platform/secret.h"

namespace tabulon::platform::samba {
namespace {

bool ReadAll(int fd, std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::read(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteAll(int fd, const std::vector<std::uint8_t>& bytes) {
  const std::uint8_t* data = bytes.data();
  std::size_t size = bytes.size();
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The next frame's body; nothing when the parent has closed its end.
std::optional<std::vector<std::uint8_t>> ReadFrame(int fd) {
  std::array<std::uint8_t, 4> prefix{};
  if (!ReadAll(fd, prefix.data(), prefix.size())) return std::nullopt;
  const std::uint32_t length = FrameLength(prefix);
  if (length > kMaxFrameBytes) return std::nullopt;
  std::vector<std::uint8_t> body(length);
  if (!ReadAll(fd, body.data(), body.size())) return std::nullopt;
  return body;
}

// The reply to a file request, or EINVAL for one that did not decode.
template <typename Reply, typename Request, typename Serve>
Reply Answer(const std::optional<Request>& request, Serve serve) {
  if (request) return serve(*request);
  Reply reply;
  reply.error = EINVAL;
  return reply;
}

}  // namespace

void RunRpcWorker(int fd) {
  std::optional<WorkerLogon> logon;
  if (auto body = ReadFrame(fd)) {
    logon = DecodeLogon(*body);
    WipeBytes(body->data(), body->size());
  }
  if (!logon || !WriteAll(fd, EncodeReply(WorkerReply{}))) ::_exit(1);
  const WorkerSettings settings{&logon->credentials, logon->smb_port, logon->call_timeout_ms};
  {
    ServerPipes pipes(settings);
    SmbFiles files(settings);
    while (auto body = ReadFrame(fd)) {
      const auto serve_file = [&files](const FileRequest& q) { return files.Serve(q); };
      const auto measure = [&files](const DiskSpaceRequest& q) { return files.DiskSpace(q); };
      std::vector<std::uint8_t> frame;
      switch (KindOf(*body).value_or(RequestKind::kRpcCall)) {
        case RequestKind::kListDirectory:
        case RequestKind::kReadFile:
        case RequestKind::kFileSecurity:
          frame = EncodeReply(Answer<FileReply>(DecodeFileRequest(*body), serve_file));
          break;
        case RequestKind::kDiskSpace:
          frame = EncodeReply(Answer<DiskSpaceReply>(DecodeDiskSpaceRequest(*body), measure));
          break;
        case RequestKind::kRpcCall: {
          const auto request = DecodeRequest(*body);
          WorkerReply reply;
          if (request) {
            if (ListsServerClients(*request)) files.CloseConnection();
            reply = pipes.Call(*request);
          } else {
            reply.nt_status = kNtStatusInvalidParameter;
          }
          frame = EncodeReply(reply);
          break;
        }
      }
      if (!WriteAll(fd, frame)) break;
    }
  }
  logon->credentials.password.Clear();
  // No exit handlers: nothing of the program's own state is worth them, and
  // a sanitizer's leak check would count the libraries' caches.
  ::_exit(0);
}

}  // namespace tabulon::platform::samba
