#include "platform/samba/smb_files.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>

#include "platform/samba/ticket_cache.h"
#include "platform/time.h"

extern "C" {
#include <libsmbclient.h>
}

namespace tabulon::platform::samba {

// What the library's callbacks reach through the context's user data: the
// credentials, and the library's own server cache, which ours wraps.
struct SmbClientHooks {
  const Credentials* credentials = nullptr;
  smbc_get_cached_srv_fn get = nullptr;
  smbc_add_cached_srv_fn add = nullptr;
  smbc_remove_cached_srv_fn remove = nullptr;
  // The share connection the library last took from or put into its cache.
  SMBCSRV* current = nullptr;
};

namespace {

// The settings the worker needs beyond the library's defaults; the machine's
// own smb.conf is replaced by these, as it is for the RPC pipes. The library
// keeps a name cache on disk, shared by every Samba client of the machine
// and kept for minutes: a name another program resolved elsewhere would send
// the share connection to another address than the pipes'. Its directories
// point where nothing can be created, so there is no cache to read or write.
constexpr const char kConfiguration[] =
    "[global]\n"
    "  name resolve order = lmhosts host\n"
    "  lock directory = /dev/null/tabulon\n"
    "  cache directory = /dev/null/tabulon\n"
    "  state directory = /dev/null/tabulon\n"
    "  log level = 0\n";

SmbClientHooks* HooksOf(SMBCCTX* context) {
  return static_cast<SmbClientHooks*>(smbc_getOptionUserData(context));
}

// The credentials of every connection, read by the library's callback.
void SupplyCredentials(SMBCCTX* context, const char* /*server*/, const char* /*share*/,
                       char* workgroup, int workgroup_size, char* user, int user_size,
                       char* password, int password_size) {
  const Credentials* credentials = HooksOf(context)->credentials;
  const auto copy = [](std::string_view from, char* to, int size) {
    if (size <= 0) return;
    const std::size_t n = std::min(from.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(to, from.data(), n);
    to[n] = '\0';
  };
  if (!credentials->domain.empty()) copy(credentials->domain, workgroup, workgroup_size);
  copy(credentials->username, user, user_size);
  copy(credentials->password.reveal(), password, password_size);
}

// The library's name for the connection it reads descriptors over: one to
// the server's IPC$ of its own, with a logon of its own, for the names it
// would look up there. Descriptors are asked with SIDs as strings, which need
// no lookup, so ours are read on the share's connection instead.
constexpr char kAttributeConnection[] = "*IPC$";

SMBCSRV* CachedServer(SMBCCTX* context, const char* server, const char* share,
                      const char* workgroup, const char* user) {
  SmbClientHooks* hooks = HooksOf(context);
  if (std::strcmp(share, kAttributeConnection) == 0 && hooks->current != nullptr) {
    return hooks->current;
  }
  SMBCSRV* found = hooks->get(context, server, share, workgroup, user);
  if (found != nullptr && std::strcmp(share, kAttributeConnection) != 0) hooks->current = found;
  return found;
}

int AddCachedServer(SMBCCTX* context, SMBCSRV* connection, const char* server, const char* share,
                    const char* workgroup, const char* user) {
  SmbClientHooks* hooks = HooksOf(context);
  const int error = hooks->add(context, connection, server, share, workgroup, user);
  if (error == 0 && std::strcmp(share, kAttributeConnection) != 0) hooks->current = connection;
  return error;
}

int RemoveCachedServer(SMBCCTX* context, SMBCSRV* connection) {
  SmbClientHooks* hooks = HooksOf(context);
  if (hooks->current == connection) hooks->current = nullptr;
  return hooks->remove(context, connection);
}

// The configuration as a file the library can load, without a file on disk.
int LoadConfiguration(SMBCCTX* context) {
  const int fd = ::memfd_create("tabulon-smb.conf", MFD_CLOEXEC);
  if (fd < 0) return errno;
  int error = 0;
  const std::size_t size = sizeof kConfiguration - 1;
  if (::write(fd, kConfiguration, size) != static_cast<ssize_t>(size)) {
    error = EIO;
  } else {
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (smbc_setConfiguration(context, path.c_str()) != 0) error = EINVAL;
  }
  ::close(fd);
  return error;
}

bool Unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

void AppendEscaped(std::string& url, std::string_view part) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char ch : part) {
    const auto c = static_cast<unsigned char>(ch);
    if (Unreserved(c)) {
      url += ch;
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 0xF];
    }
  }
}

// A listing reply stops near this many bytes; the parent asks for the rest.
constexpr std::size_t kListingReplyBytes = 1u << 20;

// A FILETIME; 0 for a time the server did not give.
std::uint64_t FileTimeOf(const timespec& t) {
  if (t.tv_sec == 0 && t.tv_nsec == 0) return 0;
  return FileTimeOfUnixTime(t.tv_sec, t.tv_nsec);
}

FindData FindDataOf(const libsmb_file_info& info) {
  FindData data;
  data.name = info.name != nullptr ? info.name : "";
  // Servers send 0 for a file with no other attribute; FindFirstFileW
  // reports it as normal.
  data.attributes = info.attrs != 0 ? info.attrs : kFileAttributeNormal;
  data.size = (info.attrs & kFileAttributeDirectory) != 0 ? 0 : info.size;
  data.last_write_time = FileTimeOf(info.mtime_ts);
  data.last_access_time = FileTimeOf(info.atime_ts);
  data.creation_time = FileTimeOf(info.btime_ts);
  if (data.creation_time == 0) data.creation_time = data.last_write_time;
  return data;
}

std::uint32_t LastError() {
  return static_cast<std::uint32_t>(errno != 0 ? errno : EIO);
}

}  // namespace

std::string SmbUrl(std::string_view server, std::string_view share, std::string_view path,
                   bool directory) {
  std::string url = "smb://";
  AppendEscaped(url, server);
  url += '/';
  AppendEscaped(url, share);
  url += '/';
  std::string_view rest = path;
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    AppendEscaped(url, rest.substr(0, slash));
    if (slash == std::string_view::npos) break;
    url += '/';
    rest.remove_prefix(slash + 1);
  }
  if (directory && !path.empty()) url += '/';
  return url;
}

SmbFiles::SmbFiles(const WorkerSettings& settings)
    : settings_(settings), hooks_(std::make_unique<SmbClientHooks>()) {
  hooks_->credentials = settings_.credentials;
}

SmbFiles::~SmbFiles() {
  CloseDirectory();
  CloseFile();
  if (context_ != nullptr) smbc_free_context(context_, 1);
}

void SmbFiles::CloseDirectory() {
  if (directory_ != nullptr) smbc_getFunctionClosedir(context_)(context_, directory_);
  directory_ = nullptr;
  directory_url_.clear();
}

void SmbFiles::CloseFile() {
  if (file_ != nullptr) smbc_getFunctionClose(context_)(context_, file_);
  file_ = nullptr;
  file_url_.clear();
}

int SmbFiles::EnsureContext() {
  if (context_ != nullptr) return 0;
  // Without a usable ticket no Kerberos logon can succeed: say so, rather
  // than what the library makes of it (access denied).
  if (settings_.credentials->use_kerberos && UsableTicketPrincipal().empty()) return ENOKEY;
  SMBCCTX* context = smbc_new_context();
  if (context == nullptr) return ENOMEM;
  smbc_setOptionUserData(context, hooks_.get());
  smbc_setFunctionAuthDataWithContext(context, SupplyCredentials);
  hooks_->get = smbc_getFunctionGetCachedServer(context);
  hooks_->add = smbc_getFunctionAddCachedServer(context);
  hooks_->remove = smbc_getFunctionRemoveCachedServer(context);
  smbc_setFunctionGetCachedServer(context, CachedServer);
  smbc_setFunctionAddCachedServer(context, AddCachedServer);
  smbc_setFunctionRemoveCachedServer(context, RemoveCachedServer);
  smbc_setPort(context, settings_.smb_port);
  // Whole seconds and one more, as for the pipes: the parent's deadline
  // always comes first.
  smbc_setTimeout(context, static_cast<int>(((settings_.call_timeout_ms + 999) / 1000 + 1) * 1000));
  const bool kerberos = settings_.credentials->use_kerberos;
  smbc_setOptionUseKerberos(context, kerberos);
  smbc_setOptionFallbackAfterKerberos(context, false);
  smbc_setOptionUseCCache(context, kerberos);
  // An empty user name is an anonymous logon, not the Unix user's.
  smbc_setUser(context, settings_.credentials->username.c_str());
  if (smbc_init_context(context) == nullptr) {
    const int error = errno != 0 ? errno : EINVAL;
    smbc_free_context(context, 0);
    return error;
  }
  if (const int error = LoadConfiguration(context); error != 0) {
    smbc_free_context(context, 0);
    return error;
  }
  context_ = context;
  return 0;
}

void SmbFiles::UseShare(const std::string& server, const std::string& share) {
  std::string key = FileConnectionKey(server, share);
  if (key == share_) return;
  CloseConnection();
  share_ = std::move(key);
}

void SmbFiles::CloseConnection() {
  CloseDirectory();
  CloseFile();
  // Nothing is open on the connection any more, so this closes it.
  if (!share_.empty()) smbc_getFunctionPurgeCachedServers(context_)(context_);
  share_.clear();
}

DiskSpaceReply SmbFiles::DiskSpace(const DiskSpaceRequest& request) {
  DiskSpaceReply reply;
  if (const int error = EnsureContext(); error != 0) {
    reply.error = static_cast<std::uint32_t>(error);
    return reply;
  }
  UseShare(request.server, request.share);
  std::string url = SmbUrl(request.server, request.share, request.directory, true);
  struct statvfs st {};
  errno = 0;
  if (smbc_getFunctionStatVFS(context_)(context_, url.data(), &st) != 0) {
    reply.error = static_cast<std::uint32_t>(errno != 0 ? errno : EIO);
    return reply;
  }
  // The library reports the server's allocation units as blocks, with the
  // bytes per sector in f_bsize and the sectors per unit in f_frsize.
  const std::uint64_t unit = std::uint64_t{st.f_bsize} * (st.f_frsize != 0 ? st.f_frsize : 1);
  if (unit == 0 || st.f_blocks == 0) {
    // The server did not answer the size query: the library says so only
    // by leaving the sizes at zero.
    reply.error = ENOTSUP;
    return reply;
  }
  reply.total_bytes = std::uint64_t{st.f_blocks} * unit;
  reply.total_free_bytes = std::uint64_t{st.f_bfree} * unit;
  reply.free_bytes_available = std::uint64_t{st.f_bavail} * unit;
  return reply;
}

}  // namespace tabulon::platform::samba

namespace tabulon::platform::samba {

FileReply SmbFiles::Serve(const FileRequest& request) {
  if (const int error = EnsureContext(); error != 0) {
    FileReply reply;
    reply.error = static_cast<std::uint32_t>(error);
    return reply;
  }
  UseShare(request.server, request.share);
  switch (request.kind) {
    case RequestKind::kListDirectory:
      return List(request);
    case RequestKind::kReadFile:
      return Read(request);
    default:
      return Security(request);
  }
}

FileReply SmbFiles::List(const FileRequest& request) {
  FileReply reply;
  CloseFile();
  const std::string url = SmbUrl(request.server, request.share, request.path, true);
  if (!request.resume || directory_ == nullptr || directory_url_ != url) {
    CloseDirectory();
    errno = 0;
    directory_ = smbc_getFunctionOpendir(context_)(context_, url.c_str());
    if (directory_ == nullptr) {
      reply.error = LastError();
      return reply;
    }
    directory_url_ = url;
  }
  // The library has read the whole directory when it opened it; these calls
  // hand its items out.
  const auto next = smbc_getFunctionReaddirPlus2(context_);
  const auto next_without_id = smbc_getFunctionReaddirPlus(context_);
  const auto position = smbc_getFunctionTelldir(context_);
  std::size_t bytes = 0;
  while (bytes < kListingReplyBytes) {
    errno = 0;
    struct stat st {};
    const libsmb_file_info* info = next(context_, directory_, &st);
    std::uint64_t file_id = info != nullptr ? static_cast<std::uint64_t>(st.st_ino) : 0;
    if (info == nullptr && position(context_, directory_) != -1) {
      // Not the end: the call with the file id gives up, without moving on,
      // on a name it cannot make a URL of; this one gives that item.
      errno = 0;
      info = next_without_id(context_, directory_);
      file_id = 0;
    }
    if (info == nullptr) {
      // The end of the listing, or a failure the library reports in errno.
      if (errno != 0 && errno != ENOENT) reply.error = LastError();
      CloseDirectory();
      return reply;
    }
    reply.items.push_back(FindDataOf(*info));
    reply.items.back().file_id = file_id;
    bytes += 56 + reply.items.back().name.size();
  }
  reply.more = true;
  return reply;
}

FileReply SmbFiles::Read(const FileRequest& request) {
  FileReply reply;
  CloseDirectory();
  const std::string url = SmbUrl(request.server, request.share, request.path, false);
  if (file_ == nullptr || file_url_ != url) {
    CloseFile();
    errno = 0;
    file_ = smbc_getFunctionOpen(context_)(context_, url.c_str(), O_RDONLY, 0);
    if (file_ == nullptr) {
      reply.error = LastError();
      return reply;
    }
    file_url_ = url;
  }
  errno = 0;
  if (smbc_getFunctionLseek(context_)(context_, file_, static_cast<off_t>(request.offset),
                                      SEEK_SET) < 0) {
    reply.error = LastError();
    CloseFile();
    return reply;
  }
  const std::uint32_t size = std::min(request.size, kMaxReadBytes);
  reply.bytes.resize(size);
  std::size_t got = 0;
  const auto read = smbc_getFunctionRead(context_);
  while (got < size) {
    errno = 0;
    const ssize_t n = read(context_, file_, reply.bytes.data() + got, size - got);
    if (n < 0) {
      reply.error = LastError();
      CloseFile();
      break;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  reply.bytes.resize(got);
  return reply;
}

FileReply SmbFiles::Security(const FileRequest& request) {
  FileReply reply;
  const std::string url = SmbUrl(request.server, request.share, request.path, false);
  const auto get = smbc_getFunctionGetxattr(context_);
  // SIDs as strings: names would need a lookup the parent makes itself.
  std::string buffer(16384, '\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    errno = 0;
    const int n = get(context_, url.c_str(), "system.nt_sec_desc.*", buffer.data(), buffer.size());
    if (n >= 0) {
      // Some versions return the length, others 0: the text ends at its NUL.
      buffer.resize(::strnlen(buffer.c_str(), buffer.size()));
      reply.text = std::move(buffer);
      return reply;
    }
    if (errno != ERANGE) break;
    buffer.resize(buffer.size() * 4);
  }
  reply.error = LastError();
  return reply;
}

}  // namespace tabulon::platform::samba
