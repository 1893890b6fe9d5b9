#include "platform/samba/smb_files.h"

#include <sys/mman.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

extern "C" {
#include <libsmbclient.h>
}

namespace tabulon::platform::samba {
namespace {

// The settings the worker needs beyond the library's defaults; the machine's
// own smb.conf is replaced by these, as it is for the RPC pipes.
constexpr const char kConfiguration[] =
    "[global]\n"
    "  name resolve order = lmhosts host\n"
    "  log level = 0\n";

// The credentials of every connection, read by the library's callback. The
// callback has no other way to reach them than the context's user data.
void SupplyCredentials(SMBCCTX* context, const char* /*server*/, const char* /*share*/,
                       char* workgroup, int workgroup_size, char* user, int user_size,
                       char* password, int password_size) {
  const auto* credentials = static_cast<const Credentials*>(smbc_getOptionUserData(context));
  const auto copy = [](const std::string& from, char* to, int size) {
    if (size <= 0) return;
    const std::size_t n = std::min(from.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(to, from.data(), n);
    to[n] = '\0';
  };
  if (!credentials->domain.empty()) copy(credentials->domain, workgroup, workgroup_size);
  copy(credentials->username, user, user_size);
  copy(credentials->password, password, password_size);
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

}  // namespace

std::string SmbUrl(const DiskSpaceRequest& request) {
  std::string url = "smb://";
  AppendEscaped(url, request.server);
  url += '/';
  AppendEscaped(url, request.share);
  url += '/';
  std::string_view rest = request.directory;
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    AppendEscaped(url, rest.substr(0, slash));
    url += '/';
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  return url;
}

SmbFiles::~SmbFiles() {
  if (context_ != nullptr) smbc_free_context(context_, 1);
}

int SmbFiles::EnsureContext() {
  if (context_ != nullptr) return 0;
  SMBCCTX* context = smbc_new_context();
  if (context == nullptr) return ENOMEM;
  smbc_setOptionUserData(context, &settings_.credentials);
  smbc_setFunctionAuthDataWithContext(context, SupplyCredentials);
  smbc_setPort(context, settings_.smb_port);
  // Whole seconds and one more, as for the pipes: the parent's deadline
  // always comes first.
  smbc_setTimeout(context, static_cast<int>(((settings_.call_timeout_ms + 999) / 1000 + 1) * 1000));
  const bool kerberos = settings_.credentials.use_kerberos;
  smbc_setOptionUseKerberos(context, kerberos);
  smbc_setOptionFallbackAfterKerberos(context, false);
  smbc_setOptionUseCCache(context, kerberos);
  // An empty user name is an anonymous logon, not the Unix user's.
  smbc_setUser(context, settings_.credentials.username.c_str());
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

DiskSpaceReply SmbFiles::DiskSpace(const DiskSpaceRequest& request) {
  DiskSpaceReply reply;
  if (const int error = EnsureContext(); error != 0) {
    reply.error = static_cast<std::uint32_t>(error);
    return reply;
  }
  std::string url = SmbUrl(request);
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
