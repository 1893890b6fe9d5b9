#pragma once
// The worker's file client: the space of a share's volume, directory
// listings, byte ranges and security descriptors through the SMB client
// library, which, like the RPC libraries, runs only in the worker process.
// Its context is made on the first request and kept until the worker ends.
// It holds one connection at a time, to the share last asked for: the
// library gives each share a connection and logon of its own, so the one
// before is closed when another share is asked for. Descriptors are read on
// that same connection.
#include <memory>
#include <string>

#include "platform/samba/rpc_worker.h"
#include "platform/samba/worker_frames.h"

// The client library's own name for its context.
struct _SMBCCTX;   // NOLINT(bugprone-reserved-identifier)
struct _SMBCFILE;  // NOLINT(bugprone-reserved-identifier)

namespace tabulon::platform::samba {

struct SmbClientHooks;

class SmbFiles {
 public:
  explicit SmbFiles(const WorkerSettings& settings);
  ~SmbFiles();
  SmbFiles(const SmbFiles&) = delete;
  SmbFiles& operator=(const SmbFiles&) = delete;

  DiskSpaceReply DiskSpace(const DiskSpaceRequest& request);
  // Any of the FileRequest kinds.
  FileReply Serve(const FileRequest& request);
  // Closes the file connection, if one is open; the next request opens one.
  void CloseConnection();

 private:
  // 0, or the errno of why the context could not be made.
  int EnsureContext();
  // Closes what is open on another share's connection, and the connection.
  void UseShare(const std::string& server, const std::string& share);
  FileReply List(const FileRequest& request);
  FileReply Read(const FileRequest& request);
  FileReply Security(const FileRequest& request);
  void CloseDirectory();
  void CloseFile();

  WorkerSettings settings_;
  std::unique_ptr<SmbClientHooks> hooks_;
  _SMBCCTX* context_ = nullptr;
  // The share whose connection is open (FileConnectionKey); empty for none.
  std::string share_;
  // The listing a reply left unfinished, and the file last read: a walk
  // reads a file's ranges one after another, and a large directory comes in
  // several replies.
  std::string directory_url_;
  _SMBCFILE* directory_ = nullptr;
  std::string file_url_;
  _SMBCFILE* file_ = nullptr;
};

// "smb://server/share/dir/" (a trailing "/" for a directory) with every byte
// outside the unreserved set of a URL escaped, so that names with blanks, "%"
// or "#" reach the server as they are.
std::string SmbUrl(std::string_view server, std::string_view share, std::string_view path,
                   bool directory);

}  // namespace tabulon::platform::samba
