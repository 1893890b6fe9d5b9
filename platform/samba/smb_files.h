#pragma once
// The worker's file client: the space of a share's volume through the SMB
// client library, which, like the RPC libraries, runs only in the worker
// process. Its context is made on the first request and kept, with its
// connections, until the worker ends.
#include "platform/samba/rpc_worker.h"
#include "platform/samba/worker_frames.h"

// The client library's own name for its context.
struct _SMBCCTX;  // NOLINT(bugprone-reserved-identifier)

namespace tabulon::platform::samba {

class SmbFiles {
 public:
  explicit SmbFiles(const WorkerSettings& settings) : settings_(settings) {}
  ~SmbFiles();
  SmbFiles(const SmbFiles&) = delete;
  SmbFiles& operator=(const SmbFiles&) = delete;

  DiskSpaceReply DiskSpace(const DiskSpaceRequest& request);

 private:
  // 0, or the errno of why the context could not be made.
  int EnsureContext();

  WorkerSettings settings_;
  _SMBCCTX* context_ = nullptr;
};

// "smb://server/share/dir/" with every byte outside the unreserved set of a
// URL escaped, so that names with blanks, "%" or "#" reach the server as they
// are.
std::string SmbUrl(const DiskSpaceRequest& request);

}  // namespace tabulon::platform::samba
