#include <chrono>

#include "engine/messages.h"
#include "platform/ldap/ldap_directory.h"
#include "platform/posix/file_system.h"
#include "platform/posix/icmp_socket.h"
#include "platform/remote/remote_backend.h"
#include "platform/samba/samba_transport.h"
#include "platform/samba/ticket_cache.h"
#include "run/native_backends.h"

namespace tabulon::run {
namespace {

// Reading a ticket cache is local, but a cache kept by a daemon may not
// answer: a run does not wait longer than this to learn who it is.
constexpr std::chrono::milliseconds kTicketCacheLimit{5000};

class PosixBackends final : public NativeBackends {
 public:
  explicit PosixBackends(platform::Clock& clock) : icmp_(clock) {}

  platform::Icmp& icmp() override { return icmp_; }
  platform::SessionBackend& sessions() override { return remote_; }
  void SetLocalShares(const std::string& text, const std::string& configuration_folder) override {
    local_files_.set_local_shares(platform::ParseLocalShares(text, configuration_folder));
  }
  std::string ChooseDefaultLogon(platform::Credentials& credentials) override {
    // As a Windows client uses the logged-on user: the caller's Kerberos
    // tickets when there are any, for SMB and LDAP alike; else anonymous.
    const std::string principal = platform::samba::FindTicketCache(kTicketCacheLimit);
    if (principal.empty()) return std::string(MessageText(kMsgAnonymousLogon));
    credentials.use_kerberos = true;
    return FormatMessageId(kMsgTicketCacheLogon, {principal});
  }

 private:
  platform::SocketIcmp icmp_;
  platform::PosixFileSystem local_files_;
  // Real computers over SMB named pipes, each session's calls in a worker
  // process of its own; directories over LDAP.
  platform::remote::RemoteBackend remote_{
      [](const platform::SessionOptions& options)
          -> std::unique_ptr<platform::remote::RpcTransport> {
        return std::make_unique<platform::samba::SambaTransport>(options);
      },
      &local_files_, &platform::ldap::MakeLdapDirectorySearch};
};

}  // namespace

std::unique_ptr<NativeBackends> MakeNativeBackends(platform::Clock& clock) {
  return std::make_unique<PosixBackends>(clock);
}

}  // namespace tabulon::run
