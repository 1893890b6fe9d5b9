#pragma once
// DCE/RPC over SMB named pipes, and files of shares, through the Samba client
// libraries, which run in a worker process: they do not survive use from
// several threads and their connect timer cannot be shortened, so the worker
// is killed when a call passes the session's timeout or its cancel token is
// set, and the next call starts a new one. A call that was the first on its
// connection and timed out (a server starting the helper that serves a pipe)
// is made once more, on a new worker with a deadline of its own.
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <set>
#include <string>

#include "platform/remote/remote_file_calls.h"
#include "platform/remote/rpc_transport.h"
#include "platform/samba/worker_frames.h"
#include "platform/session.h"

namespace tabulon::platform::samba {

inline constexpr std::uint16_t kSmbPort = 445;

class SambaTransport final : public remote::RpcTransport, public remote::RemoteFileCalls {
 public:
  // `smb_port` is where servers are reached (tests use other ports).
  explicit SambaTransport(SessionOptions options, std::uint16_t smb_port = kSmbPort);
  ~SambaTransport() override;
  SambaTransport(const SambaTransport&) = delete;
  SambaTransport& operator=(const SambaTransport&) = delete;

  remote::RpcReply Call(std::string_view server, const remote::RpcInterface& iface,
                        std::uint16_t opnum, std::span<const std::uint8_t> request) override;
  remote::RemoteFileCalls* file_calls() override { return this; }
  DiskFreeSpaceResult DiskSpace(std::string_view server, std::string_view share,
                                std::string_view directory) override;
  remote::RemoteListing ListDirectory(std::string_view server, std::string_view share,
                                      std::string_view directory) override;
  ReadRangeResult ReadRange(std::string_view server, std::string_view share, std::string_view path,
                            std::uint64_t offset, std::size_t size) override;
  remote::RemoteSecurityText Security(std::string_view server, std::string_view share,
                                      std::string_view path) override;

  // The worker's process id; -1 while there is none.
  pid_t worker() const { return worker_; }

 private:
  using Deadline = std::chrono::steady_clock::time_point;
  // Spawns a worker and hands it the logon, answered before `deadline`.
  win::Status StartWorker(Deadline deadline);
  // `host` probed once per worker, then a worker; the status of what
  // failed. A worker's start moves `deadline` on by the time it took.
  win::Status Reach(const std::string& host, Deadline& deadline);
  // One request and its reply's body; the worker is killed when it fails.
  win::Status Ask(const std::vector<std::uint8_t>& frame, Deadline deadline,
                  std::vector<std::uint8_t>& body);
  // Ends the worker: politely (it sees its socket close and closes its
  // connections) or with SIGKILL.
  void StopWorker(bool kill);
  // One file request and its reply; the status of a failed exchange or of
  // the error the worker reported, with `missing` standing for "no such
  // entry".
  win::Status AskFile(const FileRequest& request, win::Status missing, FileReply& reply);
  win::Status AskFileOnce(const FileRequest& request, win::Status missing, FileReply& reply);
  remote::RpcReply CallOnce(const WorkerRequest& request);
  DiskFreeSpaceResult DiskSpaceOnce(const DiskSpaceRequest& request);
  // Keeps the reachability of a server up to date with a file request's
  // status.
  void NoteFileStatus(const std::string& host, win::Status status);
  // Whether the worker answers a file request for this share on the
  // connection of the last one; a new connection otherwise.
  bool FileConnectionOpen(const std::string& host, std::string_view share) const;
  // Sends one request frame and waits for the reply frame.
  win::Status Exchange(const std::vector<std::uint8_t>& frame, Deadline deadline,
                       std::vector<std::uint8_t>& body);

  SessionOptions options_;
  std::uint16_t smb_port_;
  pid_t worker_ = -1;
  int socket_ = -1;
  // The write end of the pipe whose end ends the worker (worker_process.h).
  int parent_end_ = -1;
  // Servers the current worker has connected to: the reachability check is
  // made once per server and worker.
  std::set<std::string, std::less<>> reached_;
  // The pipes the current worker has bound (PipeKey), and the share its file
  // connection is open to (FileConnectionKey): a call that needs neither new
  // is no first call on a connection.
  std::set<std::string, std::less<>> bound_;
  std::string file_share_;
};

}  // namespace tabulon::platform::samba
