#include "platform/samba/samba_transport.h"

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <thread>
#include <utility>

#include "platform/samba/samba_status.h"
#include "platform/samba/tcp_probe.h"
#include "platform/samba/worker_frames.h"
#include "platform/samba/worker_process.h"
#include "platform/secret.h"

namespace tabulon::platform::samba {
namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks at the cancel token.
constexpr std::chrono::milliseconds kSlice{50};
// How long a worker may take to close its connections when it is told to go.
constexpr std::chrono::milliseconds kQuitGrace{2000};
// How long a worker may take to start and take its logon, at least.
constexpr std::chrono::milliseconds kWorkerStartLimit{15000};

// "\\NAME" and "NAME" name the same server.
std::string_view HostOf(std::string_view server) {
  while (!server.empty() && (server.front() == '\\' || server.front() == '/')) {
    server.remove_prefix(1);
  }
  return server;
}

// A file request whose exchange with the worker failed: a worker that died
// or answered nonsense is, for a file client, an unexpected network error.
win::Status FileStatusOf(win::Status exchange) {
  return exchange == win::RPC_S_CALL_FAILED ? win::ERROR_UNEXP_NET_ERR : exchange;
}

// The key of a pipe bound in the worker: its server first, so that the
// pipes of a server are found by it.
std::string PipeKey(const WorkerRequest& q) {
  std::string key = q.server + '\0' + q.pipe + '\0';
  key.append(q.uuid.begin(), q.uuid.end());
  return key + std::to_string(q.version_major) + '.' + std::to_string(q.version_minor);
}

std::string_view PipeKeyServer(std::string_view key) {
  return key.substr(0, key.find('\0'));
}

FileRequest RequestFor(RequestKind kind, std::string_view server, std::string_view share,
                       std::string_view path) {
  FileRequest q;
  q.kind = kind;
  q.server = HostOf(server);
  q.share = share;
  q.path = path;
  return q;
}

}  // namespace

SambaTransport::SambaTransport(SessionOptions options, std::uint16_t smb_port)
    : options_(options), smb_port_(smb_port) {}

SambaTransport::~SambaTransport() {
  StopWorker(false);
}

win::Status SambaTransport::StartWorker(Deadline deadline) {
  StartedWorker started;
  if (const win::Status status = SpawnWorker(started); status != win::ERROR_SUCCESS) {
    return status;
  }
  worker_ = started.pid;
  socket_ = started.socket;
  parent_end_ = started.parent_end;
  std::vector<std::uint8_t> logon =
      EncodeLogon(options_.logon(), smb_port_, options_.call_timeout_ms);
  std::vector<std::uint8_t> body;
  win::Status status = Exchange(logon, deadline, body);
  WipeBytes(logon.data(), logon.size());
  if (status == win::ERROR_SUCCESS && !DecodeReply(body)) status = win::RPC_S_CALL_FAILED;
  if (status != win::ERROR_SUCCESS) StopWorker(true);
  return status;
}

void SambaTransport::StopWorker(bool kill) {
  if (worker_ < 0) return;
  // Its connections end with it.
  reached_.clear();
  bound_.clear();
  file_share_.clear();
  ::close(socket_);
  socket_ = -1;
  if (!kill) {
    // The worker ends when it reads the end of its socket.
    const auto until = Clock::now() + kQuitGrace;
    while (::waitpid(worker_, nullptr, WNOHANG) == 0) {
      if (Clock::now() >= until) {
        kill = true;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  if (kill) {
    ::kill(worker_, SIGKILL);
    while (::waitpid(worker_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  worker_ = -1;
  ::close(parent_end_);
  parent_end_ = -1;
}

win::Status SambaTransport::Exchange(const std::vector<std::uint8_t>& frame, Deadline deadline,
                                     std::vector<std::uint8_t>& body) {
  // The worker reads a whole request before it does anything else, so a
  // blocking send cannot wait on it for long.
  std::size_t sent = 0;
  while (sent < frame.size()) {
    const ssize_t n = ::send(socket_, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return win::RPC_S_CALL_FAILED;
    sent += static_cast<std::size_t>(n);
  }
  std::vector<std::uint8_t> received;
  for (;;) {
    if (options_.cancel.cancelled()) return win::ERROR_CANCELLED;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return win::ERROR_TIMEOUT;
    pollfd p{socket_, POLLIN, 0};
    const int n = ::poll(&p, 1, static_cast<int>(std::min(left, kSlice).count()));
    if (n < 0 && errno != EINTR) return win::RPC_S_CALL_FAILED;
    if (n <= 0) continue;
    std::uint8_t chunk[16384];
    const ssize_t got = ::recv(socket_, chunk, sizeof chunk, MSG_DONTWAIT);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got <= 0) return win::RPC_S_CALL_FAILED;  // the worker died
    received.insert(received.end(), chunk, chunk + got);
    if (received.size() < 4) continue;
    const std::uint32_t length = FrameLength(std::span<const std::uint8_t, 4>(received.data(), 4));
    if (length > kMaxFrameBytes) return win::RPC_S_CALL_FAILED;
    if (received.size() - 4 < length) continue;
    if (received.size() - 4 > length) return win::RPC_S_CALL_FAILED;  // one reply per request
    body.assign(received.begin() + 4, received.end());
    return win::ERROR_SUCCESS;
  }
}

win::Status SambaTransport::Reach(const std::string& host, Deadline& deadline) {
  // A server that cannot be reached costs no worker: in an estate many
  // computers are switched off or gone.
  if (!reached_.contains(host)) {
    if (const win::Status status = ProbeTcp(host, smb_port_, deadline, options_.cancel);
        status != win::ERROR_SUCCESS) {
      return status;
    }
  }
  if (worker_ >= 0) return win::ERROR_SUCCESS;
  // The worker's start is this machine's work, which a loaded machine may
  // take seconds for: it has a limit of its own, and the call's time-out,
  // the server's, starts again once the worker is up.
  const auto started = Clock::now();
  const win::Status status = StartWorker(std::max(deadline, started + kWorkerStartLimit));
  deadline += Clock::now() - started;
  return status;
}

win::Status SambaTransport::Ask(const std::vector<std::uint8_t>& frame, Deadline deadline,
                                std::vector<std::uint8_t>& body) {
  const win::Status status = Exchange(frame, deadline, body);
  // The worker is in the middle of a call (or gone): it cannot be reused.
  if (status != win::ERROR_SUCCESS) StopWorker(true);
  return status;
}

remote::RpcReply SambaTransport::Call(std::string_view server, const remote::RpcInterface& iface,
                                      std::uint16_t opnum, std::span<const std::uint8_t> request) {
  WorkerRequest q;
  q.server = HostOf(server);
  q.pipe = std::string(iface.pipe);
  q.uuid = iface.uuid;
  q.version_major = iface.version_major;
  q.version_minor = iface.version_minor;
  q.opnum = opnum;
  q.stub.assign(request.begin(), request.end());
  const bool first_on_connection = !bound_.contains(PipeKey(q));
  // The worker closes its file connection before this call.
  if (ListsServerClients(q)) file_share_.clear();
  remote::RpcReply reply = CallOnce(q);
  if (reply.status == win::ERROR_TIMEOUT && first_on_connection) reply = CallOnce(q);
  return reply;
}

remote::RpcReply SambaTransport::CallOnce(const WorkerRequest& q) {
  Deadline deadline = Clock::now() + std::chrono::milliseconds(options_.call_timeout_ms);
  remote::RpcReply reply;
  reply.status = Reach(q.server, deadline);
  if (reply.status != win::ERROR_SUCCESS) return reply;
  std::vector<std::uint8_t> body;
  reply.status = Ask(EncodeRequest(q), deadline, body);
  if (reply.status != win::ERROR_SUCCESS) return reply;
  auto answer = DecodeReply(body);
  if (!answer) {
    StopWorker(true);
    reply.status = win::RPC_S_CALL_FAILED;
    return reply;
  }
  reply.status = StatusFromSamba(answer->nt_status, answer->fault);
  if (answer->nt_status == 0 || answer->fault != 0) {
    reached_.insert(q.server);
    bound_.insert(PipeKey(q));
  } else {
    // The worker dropped the server's connection, and every pipe on it; the
    // next call checks again that the server can be reached.
    std::erase_if(bound_, [&](const std::string& key) { return PipeKeyServer(key) == q.server; });
    reached_.erase(q.server);
  }
  if (answer->nt_status == 0) reply.stub = std::move(answer->stub);
  return reply;
}

void SambaTransport::NoteFileStatus(const std::string& host, win::Status status) {
  if (status == win::ERROR_BAD_NETPATH || status == win::ERROR_NETNAME_DELETED) {
    // The connection is gone: the next request checks again that the server
    // can be reached.
    reached_.erase(host);
  } else {
    reached_.insert(host);
  }
}

bool SambaTransport::FileConnectionOpen(const std::string& host, std::string_view share) const {
  return !file_share_.empty() && file_share_ == FileConnectionKey(host, share);
}

DiskFreeSpaceResult SambaTransport::DiskSpace(std::string_view server, std::string_view share,
                                              std::string_view directory) {
  const DiskSpaceRequest q{std::string(HostOf(server)), std::string(share), std::string(directory)};
  const bool first_on_connection = !FileConnectionOpen(q.server, q.share);
  DiskFreeSpaceResult result = DiskSpaceOnce(q);
  if (result.status == win::ERROR_TIMEOUT && first_on_connection) result = DiskSpaceOnce(q);
  return result;
}

DiskFreeSpaceResult SambaTransport::DiskSpaceOnce(const DiskSpaceRequest& q) {
  Deadline deadline = Clock::now() + std::chrono::milliseconds(options_.call_timeout_ms);
  DiskFreeSpaceResult result;
  result.status = Reach(q.server, deadline);
  if (result.status != win::ERROR_SUCCESS) return result;
  std::vector<std::uint8_t> body;
  result.status = FileStatusOf(Ask(EncodeRequest(q), deadline, body));
  if (result.status != win::ERROR_SUCCESS) return result;
  const auto answer = DecodeDiskSpaceReply(body);
  if (!answer) {
    StopWorker(true);
    result.status = win::ERROR_UNEXP_NET_ERR;
    return result;
  }
  file_share_ = FileConnectionKey(q.server, q.share);
  result.status = StatusFromFileClient(
      answer->error, q.directory.empty() ? win::ERROR_BAD_NET_NAME : win::ERROR_PATH_NOT_FOUND);
  NoteFileStatus(q.server, result.status);
  if (result.status != win::ERROR_SUCCESS) return result;
  result.total_bytes = answer->total_bytes;
  result.total_free_bytes = answer->total_free_bytes;
  result.free_bytes_available = answer->free_bytes_available;
  return result;
}

win::Status SambaTransport::AskFile(const FileRequest& request, win::Status missing,
                                    FileReply& reply) {
  const bool first_on_connection =
      !request.resume && !FileConnectionOpen(request.server, request.share);
  const win::Status status = AskFileOnce(request, missing, reply);
  if (status != win::ERROR_TIMEOUT || !first_on_connection) return status;
  reply = FileReply{};
  return AskFileOnce(request, missing, reply);
}

win::Status SambaTransport::AskFileOnce(const FileRequest& request, win::Status missing,
                                        FileReply& reply) {
  Deadline deadline = Clock::now() + std::chrono::milliseconds(options_.call_timeout_ms);
  if (const win::Status status = Reach(request.server, deadline); status != win::ERROR_SUCCESS) {
    return status;
  }
  std::vector<std::uint8_t> body;
  if (const win::Status status = Ask(EncodeRequest(request), deadline, body);
      status != win::ERROR_SUCCESS) {
    return FileStatusOf(status);
  }
  auto answer = DecodeFileReply(body);
  if (!answer) {
    StopWorker(true);
    return win::ERROR_UNEXP_NET_ERR;
  }
  reply = std::move(*answer);
  file_share_ = FileConnectionKey(request.server, request.share);
  const win::Status status = StatusFromFileClient(reply.error, missing);
  NoteFileStatus(request.server, status);
  return status;
}

remote::RemoteListing SambaTransport::ListDirectory(std::string_view server, std::string_view share,
                                                    std::string_view directory) {
  FileRequest q = RequestFor(RequestKind::kListDirectory, server, share, directory);
  const win::Status missing =
      directory.empty() ? win::ERROR_BAD_NET_NAME : win::ERROR_PATH_NOT_FOUND;
  remote::RemoteListing listing;
  // A large directory comes in several replies, each within the session's
  // timeout; the items of the replies before a failure are kept.
  for (;;) {
    FileReply reply;
    listing.status = AskFile(q, missing, reply);
    std::move(reply.items.begin(), reply.items.end(), std::back_inserter(listing.items));
    if (listing.status != win::ERROR_SUCCESS || !reply.more) return listing;
    q.resume = true;
  }
}

ReadRangeResult SambaTransport::ReadRange(std::string_view server, std::string_view share,
                                          std::string_view path, std::uint64_t offset,
                                          std::size_t size) {
  FileRequest q = RequestFor(RequestKind::kReadFile, server, share, path);
  ReadRangeResult result;
  while (result.bytes.size() < size) {
    q.offset = offset + result.bytes.size();
    q.size = static_cast<std::uint32_t>(
        std::min<std::size_t>(size - result.bytes.size(), kMaxReadBytes));
    FileReply reply;
    result.status = AskFile(q, win::ERROR_FILE_NOT_FOUND, reply);
    if (result.status != win::ERROR_SUCCESS) {
      result.bytes.clear();
      return result;
    }
    result.bytes.insert(result.bytes.end(), reply.bytes.begin(), reply.bytes.end());
    if (reply.bytes.size() < q.size) break;  // the end of the file
  }
  return result;
}

remote::RemoteSecurityText SambaTransport::Security(std::string_view server, std::string_view share,
                                                    std::string_view path) {
  FileRequest q = RequestFor(RequestKind::kFileSecurity, server, share, path);
  FileReply reply;
  remote::RemoteSecurityText result;
  result.status = AskFile(q, win::ERROR_FILE_NOT_FOUND, reply);
  if (result.status == win::ERROR_SUCCESS) result.text = std::move(reply.text);
  return result;
}

}  // namespace tabulon::platform::samba
